// libFuzzer entry for the picture path of cell markup: the input, as an exact-size heap
// copy, is decoded by the layer and loaded as a THTMLPicture whose frames are all counted,
// timed, chosen and stepped.
#include <cstddef>
#include <cstdint>
#include <string>

#include "PictureContainer.h"
#include "plat/PictureDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    plat::TBitmap bmp;
    plat::DecodePicture(Data, Size, bmp);
    grid::THTMLPicture pic;
    try {
        pic.LoadFromBytes(std::string(reinterpret_cast<const char*>(Data), Size));
    } catch (const grid::EInvalidGraphic&) {
    }
    const int frames = pic.FrameCount();
    for (int f = 0; f <= frames + 1 && f < 64; ++f) {
        pic.GetFrameTime(f);
        pic.SetFrame(f);
    }
    pic.Step();
    return 0;
}
