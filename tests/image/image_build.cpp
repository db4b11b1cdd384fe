// image_build CONFIG_DIR OUT_DIR
// Builds the configuration image of a configuration folder, as if it were the open
// configuration, and writes OUT_DIR/bank1.bin and OUT_DIR/bank2.bin.
// Exit codes: 0 written; 1 the files could not be written; 2 wrong arguments;
// 3 the build stopped on a read error (its text is printed); 4 the image does not fit
// the converter (the reason is printed). Nothing is written unless the build succeeded.
#include <cstdio>

#include "USaveBincc.h"
#include "plat/String.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: image_build CONFIG_DIR OUT_DIR\n");
        return 2;
    }
    const plat::String config_dir = plat::Utf8ToString(argv[1]);
    const plat::String out_dir = plat::Utf8ToString(argv[2]);
    try {
        image::Build_Bin_Config(config_dir);
    } catch (const image::EImage_Limit& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 4;
    } catch (const plat::Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
    const image::TSave_Result result = image::Save_Bin_Files(out_dir);
    if (!result.Ok) {
        std::fprintf(stderr, "%s: %s\n", plat::StringToUtf8(result.File).c_str(),
                     plat::StringToUtf8(result.Reason).c_str());
        return 1;
    }
    return 0;
}
