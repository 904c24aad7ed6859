#include "ui/GridDump.h"

#include <cstdio>
#include <ostream>
#include <sstream>

namespace rumone {

namespace {

std::string Hex(const Rgb& c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

const char* HName(HAlign h)
{
    switch (h) {
    case HAlign::Left: return "left";
    case HAlign::Centre: return "centre";
    case HAlign::Right: return "right";
    }
    return "left";
}

const char* VName(VAlign v)
{
    switch (v) {
    case VAlign::Top: return "top";
    case VAlign::Centre: return "centre";
    case VAlign::Bottom: return "bottom";
    }
    return "centre";
}

}  // namespace

std::string DumpColour(const OptColour& colour)
{
    return colour ? Hex(*colour) : "-";
}

std::string DumpBorder(const BorderLine& line)
{
    switch (line.kind) {
    case BorderLine::Kind::None: return "-";
    case BorderLine::Kind::Default: return "default";
    case BorderLine::Kind::Coloured: return Hex(line.colour);
    }
    return "-";
}

std::string EscapeDumpText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\\': out += "\\\\"; break;
        default: out += ch;
        }
    }
    return out;
}

void DumpGrid(const ResultGrid& g, std::ostream& out)
{
    out << "size\t" << g.Columns() << '\t' << g.Rows() << '\n';
    out << "visible\t" << g.VisibleColumns() << '\t' << g.VisibleRows() << '\n';
    out << "frozen\t" << g.FrozenColumns() << '\t' << g.FrozenRows() << '\n';
    for (int c = 1; c <= g.Columns(); ++c)
        out << "colwidth\t" << c << '\t' << g.ColumnWidth(c) << '\n';
    for (int r = 1; r <= g.Rows(); ++r)
        out << "rowheight\t" << r << '\t' << g.RowHeight(r) << '\n';
    const char* overflow = g.Overflow() ? "1" : "0";
    for (int r = 1; r <= g.Rows(); ++r) {
        for (int c = 1; c <= g.Columns(); ++c) {
            const CellStyle& s = g.Style(c, r);
            out << "cell\t" << c << '\t' << r << '\t' << EscapeDumpText(g.GetText(c, r)) << '\t'
                << DumpColour(s.text) << '\t' << DumpColour(s.back) << '\t' << HName(s.hAlign) << '\t'
                << VName(s.vAlign) << '\t' << DumpBorder(s.left) << '\t' << DumpBorder(s.top) << '\t'
                << DumpBorder(s.right) << '\t' << DumpBorder(s.bottom) << '\t' << overflow << '\n';
        }
    }
}

std::string DumpGrid(const ResultGrid& grid)
{
    std::ostringstream out;
    DumpGrid(grid, out);
    return out.str();
}

}  // namespace rumone
