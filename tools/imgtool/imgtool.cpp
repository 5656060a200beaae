// imgtool: the image object from the command line, for developers and for checking decoders.
//   imgtool info FILE       prints WIDTHxHEIGHT type=IMAGETYPE alpha=0|1
//   imgtool convert IN OUT  writes OUT as .bmp (32-bit when the image has alpha) or .png
// Exit status: 0 done, 1 the input does not load, 2 wrong arguments, 3 the output was not
// written. PNG files come from our own encoder (GDI+ writes them on Windows when it cannot).
#include "imaging/c32bppDIB.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using velt::c32bppDIB;
using Path = std::filesystem::path;

enum Exit { kDone = 0, kNotLoaded = 1, kUsage = 2, kNotWritten = 3 };

int Usage() {
    std::fputs("usage: imgtool info FILE\n       imgtool convert IN OUT.bmp|OUT.png\n", stderr);
    return kUsage;
}

std::wstring LowerExtension(const Path& path) {
    std::wstring extension = path.extension().wstring();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return extension;
}

int Info(const Path& file) {
    c32bppDIB image;
    if (!image.LoadPicture_File(file)) {
        std::fputs("imgtool: the file does not load\n", stderr);
        return kNotLoaded;
    }
    std::printf("%dx%d type=%d alpha=%d\n", image.Width(), image.Height(), image.ImageType(),
                image.Alpha() ? 1 : 0);
    return kDone;
}

int Convert(const Path& in, const Path& out) {
    std::wstring extension = LowerExtension(out);
    if (extension != L".bmp" && extension != L".png") return Usage();
    c32bppDIB image;
    if (!image.LoadPicture_File(in)) {
        std::fputs("imgtool: the input does not load\n", stderr);
        return kNotLoaded;
    }
    bool written = extension == L".bmp" ? image.SaveToFile(out, false)
                                        : image.SaveToFile_PNG(out, false);
    if (!written) {
        std::fputs("imgtool: the output was not written\n", stderr);
        return kNotWritten;
    }
    return kDone;
}

int Run(const std::vector<Path>& args) {
    if (args.size() == 2 && args[0] == "info") return Info(args[1]);
    if (args.size() == 3 && args[0] == "convert") return Convert(args[1], args[2]);
    return Usage();
}

} // namespace

#ifdef _WIN32
// Wide arguments, so that file names outside the ANSI code page survive.
int wmain(int argc, wchar_t** argv) { return Run(std::vector<Path>(argv + 1, argv + argc)); }
#else
int main(int argc, char** argv) { return Run(std::vector<Path>(argv + 1, argv + argc)); }
#endif
