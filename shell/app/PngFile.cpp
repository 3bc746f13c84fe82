#include "shell/app/PngFile.h"

#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstring>

#include "shell/AtomicFile.h"

namespace {

struct Output {
    int fd = -1;
    int error = 0;  // errno of the write that failed
};

void writeBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<Output*>(png_get_io_ptr(png));
    while (size > 0) {
        const ssize_t written = ::write(out->fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            out->error = written < 0 ? errno : EIO;
            png_error(png, "write failed");
        }
        data += written;
        size -= static_cast<png_size_t>(written);
    }
}

void flushNothing(png_structp) {}

// Errors end the picture through the long jump below; neither they nor warnings are printed.
void stopOnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// libpng reports its own errors by a long jump back into the function that called setjmp, so that function
// holds nothing with a destructor. True when the whole picture went out.
bool encode(Output& out, int width, int height, const uint8_t* rgb, bool quick) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &stopOnError, &ignoreWarning);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, &writeBytes, &flushNothing);
    // One cheap filter: trying all five on every row, as libpng does unless told, and its default deflate
    // take twice the time for a file a tenth smaller. Frames take the fastest deflate as well.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, quick ? 1 : 4);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        png_write_row(png, rgb + static_cast<size_t>(y) * stride);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePngFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
                  std::string& error, bool quick) {
    if (width <= 0 || height <= 0 ||
        rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3) {
        error = std::strerror(EINVAL);
        return false;
    }
    AtomicFile file;
    if (!file.open(path, error)) {
        return false;
    }
    Output out;
    out.fd = file.descriptor();
    const bool encoded = encode(out, width, height, rgb.data(), quick);
    return file.commit(encoded ? 0 : out.error != 0 ? out.error : ENOMEM, error);
}
