#include "picker/PickerState.h"

namespace picker {

void InitDibHeader(platform::BITMAPINFOHEADER& DibHeader)
{
    DibHeader.biSize = sizeof(platform::BITMAPINFOHEADER);
    DibHeader.biPlanes = 1;
    DibHeader.biBitCount = 24;
    DibHeader.biCompression = platform::BI_RGB;
}

} // namespace picker
