// The reflect flags in "ルモーネ.ini", opened by its bare name in the current
// working directory. Kept apart from the methods so that code that never
// touches the file does not need the file functions.
#include "predict/Prediction.h"

namespace rumone {

void Prediction::ReadInitFile()
{
    ReadOptionsFile(options_, kOptionsFileName);
}

bool Prediction::WriteInitFile() const
{
    return WriteOptionsFile(options_, kOptionsFileName);
}

}  // namespace rumone
