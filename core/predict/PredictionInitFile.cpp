// The reflect flags in "ルモーネ.ini", opened by its bare name in the current
// working directory. Kept apart from the methods so that code that never
// touches the file does not need the file functions.
#include "core/predict/Prediction.h"
#include "core/store/SafeFile.h"

namespace rumone {

void Prediction::readInitFile()
{
    removeStaleTemporaries(kOptionsFileName);
    readOptionsFile(options_, kOptionsFileName);
}

bool Prediction::writeInitFile() const
{
    return writeOptionsFile(options_, kOptionsFileName);
}

bool Prediction::initFileReadOnly() const
{
    return optionsFileIsReadOnly(kOptionsFileName);
}

}  // namespace rumone
