// The reflect flags in "ルモーネ.ini", by default opened by its bare name in
// the current working directory (setInitFilePath). Kept apart from the methods so that code that never
// touches the file does not need the file functions.
#include "core/predict/Prediction.h"
#include "core/store/SafeFile.h"

namespace rumone {

void Prediction::readInitFile()
{
    removeStaleTemporaries(initFilePath_);
    readOptionsFile(options_, initFilePath_);
}

bool Prediction::writeInitFile() const
{
    return writeOptionsFile(options_, initFilePath_);
}

bool Prediction::initFileReadOnly() const
{
    return optionsFileIsReadOnly(initFilePath_);
}

}  // namespace rumone
