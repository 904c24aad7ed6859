# cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P EmbedFile.cmake
# Writes a source file that defines `std::string_view rumone::SYMBOL()`
# returning the bytes of INPUT, so that a program carries the file inside.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUTPUT}
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <string_view>\n\n"
  "namespace rumone {\n\n"
  "namespace {\nconst unsigned char kBytes[] = {${bytes}0x00};\n}  // namespace\n\n"
  "std::string_view ${SYMBOL}()\n{\n"
  "    return std::string_view(reinterpret_cast<const char*>(kBytes), ${size});\n}\n\n"
  "}  // namespace rumone\n")
