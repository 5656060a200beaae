// imgtool: the image object from the command line, for developers and for checking decoders.
//   imgtool info FILE       prints WIDTHxHEIGHT type=IMAGETYPE alpha=0|1
//   imgtool convert IN OUT [--size WxH] [--depth N]
//                           writes OUT as .bmp (32-bit when the image has alpha) or .png; the
//                           options choose an icon file's entry as a desired size and bit depth
//   imgtool icons FILE      lists an icon or cursor file's entries as the image source page does
// Exit status: 0 done, 1 the input does not load, 2 wrong arguments, 3 the output was not
// written. PNG files come from our own encoder (GDI+ writes them on Windows when it cannot).
#include "imaging/IconEntryList.h"
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
    std::fputs("usage: imgtool info FILE\n"
               "       imgtool convert IN OUT.bmp|OUT.png [--size WxH] [--depth N]\n"
               "       imgtool icons FILE\n",
               stderr);
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

// The desired icon size and depth; the file loader's defaults when not given.
struct IconRequest {
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 32;
};

bool ParseRequest(const std::vector<Path>& options, IconRequest& request) {
    for (size_t i = 0; i < options.size(); i += 2) {
        if (i + 1 >= options.size()) return false;
        const std::string value = options[i + 1].string();
        char end = 0;
        if (options[i] == "--size") {
            if (std::sscanf(value.c_str(), "%dx%d%c", &request.width, &request.height, &end) != 2)
                return false;
        } else if (options[i] == "--depth") {
            if (std::sscanf(value.c_str(), "%d%c", &request.depth, &end) != 1) return false;
        } else {
            return false;
        }
    }
    return true;
}

int Convert(const Path& in, const Path& out, const IconRequest& request) {
    std::wstring extension = LowerExtension(out);
    if (extension != L".bmp" && extension != L".png") return Usage();
    c32bppDIB image;
    if (!image.LoadPicture_File(in, request.width, request.height, false, request.depth)) {
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

int Icons(const Path& file) {
    c32bppDIB image;
    std::vector<velt::IconSizeRow> rows;
    if (!image.LoadPicture_File(file, 0, 0, true) || image.SourceIconSizes(rows) == 0) {
        std::fputs("imgtool: not an icon or cursor file that loads\n", stderr);
        return kNotLoaded;
    }
    for (const velt::IconSizeRow& row : velt::IconListOrder(rows))
        std::printf("%s\n", velt::IconEntryText(row).c_str());
    return kDone;
}

int Run(const std::vector<Path>& args) {
    if (args.size() == 2 && args[0] == "info") return Info(args[1]);
    if (args.size() == 2 && args[0] == "icons") return Icons(args[1]);
    IconRequest request;
    if (args.size() >= 3 && args[0] == "convert" &&
        ParseRequest(std::vector<Path>(args.begin() + 3, args.end()), request))
        return Convert(args[1], args[2], request);
    return Usage();
}

} // namespace

#ifdef _WIN32
// Wide arguments, so that file names outside the ANSI code page survive.
int wmain(int argc, wchar_t** argv) { return Run(std::vector<Path>(argv + 1, argv + argc)); }
#else
int main(int argc, char** argv) { return Run(std::vector<Path>(argv + 1, argv + argc)); }
#endif
