// jpeglib.h needs size_t and FILE declared before it.
#include <cstdio>

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/imaging/codecs/image_codecs.h"
#include "platform/system/atomic_file.h"
#include "testing/environment/temporary_home.h"

using namespace platform::imaging;
namespace fs = std::filesystem;

namespace {

// Quadrants of red, green, blue and white.
Bitmap quadrants(PixelFormat format, int size = 32) {
    Bitmap bitmap(size, size, format);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool right = x >= size / 2;
            const bool bottom = y >= size / 2;
            bitmap.setPixel(
                x, y,
                bottom ? (right ? 0xFFFFFFFF : 0xFF0000FF) : (right ? 0xFF00FF00 : 0xFFFF0000));
        }
    }
    return bitmap;
}

struct DecodedJpeg {
    int width = 0, height = 0, components = 0;
    std::vector<std::uint8_t> rgb;
};

DecodedJpeg decodeJpeg(const std::string& bytes) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&info, TRUE);
    DecodedJpeg out;
    out.components = info.num_components;
    EXPECT_EQ(info.comp_info[0].h_samp_factor, 1);
    EXPECT_EQ(info.comp_info[0].v_samp_factor, 1);
    EXPECT_EQ(info.JFIF_major_version, 1);
    EXPECT_EQ(info.JFIF_minor_version, 1);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row =
            out.rgb.data() + static_cast<std::size_t>(info.output_scanline) * out.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

int readFromString(GifFileType* file, GifByteType* buffer, int length) {
    auto* input = static_cast<std::istringstream*>(file->UserData);
    input->read(reinterpret_cast<char*>(buffer), length);
    return static_cast<int>(input->gcount());
}

std::uint32_t readLe(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

}  // namespace

TEST(ImageCodecs, PngRoundTripsBothFormatsThroughFiles) {
    testing_environment::TemporaryHome home;
    const std::string path = (home.root() / "tile.png").string();
    for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Argb32}) {
        Bitmap original = quadrants(format);
        if (format == PixelFormat::Argb32) {
            original.setPixel(1, 1, 0x40102030);
        }
        ASSERT_EQ(saveBitmap(original, path, "image/png"), Status::Ok);
        Bitmap loaded;
        ASSERT_EQ(loadBitmap(path, loaded), Status::Ok);
        EXPECT_EQ(loaded.format(), format);
        ASSERT_EQ(loaded.width(), 32);
        ASSERT_EQ(loaded.height(), 32);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                ASSERT_EQ(loaded.pixel(x, y), original.pixel(x, y)) << x << "," << y;
            }
        }
    }
}

TEST(ImageCodecs, BadInputIsReportedAndLeavesNothingBehind) {
    testing_environment::TemporaryHome home;
    const std::string path = (home.root() / "picture.png").string();
    Bitmap bitmap;
    EXPECT_EQ(loadBitmap(path, bitmap), Status::FileNotFound);

    ASSERT_TRUE(platform::system::writeFileAtomically(path, "not a picture"));
    EXPECT_EQ(loadBitmap(path, bitmap), Status::UnknownImageFormat);
    EXPECT_TRUE(bitmap.empty());

    std::string png;
    ASSERT_EQ(encodeBitmap(quadrants(PixelFormat::Rgb24), "image/png", png), Status::Ok);
    EXPECT_EQ(decodeBitmap(std::string_view(png).substr(0, png.size() / 2), bitmap),
              Status::GenericError);
    EXPECT_TRUE(bitmap.empty());

    // Unknown types, empty bitmaps and unwritable places fail; the old file stays.
    ASSERT_TRUE(platform::system::writeFileAtomically(path, "old"));
    EXPECT_EQ(saveBitmap(quadrants(PixelFormat::Rgb24), path, "image/PNG"),
              Status::UnknownImageFormat);
    EXPECT_EQ(saveBitmap(Bitmap(), path, "image/png"), Status::InvalidParameter);
    EXPECT_EQ(saveBitmap(quadrants(PixelFormat::Rgb24), (home.root() / "no/such/x.png").string(),
                         "image/png"),
              Status::Win32Error);
    std::string kept;
    ASSERT_TRUE(platform::system::readWholeFile(path, kept));
    EXPECT_EQ(kept, "old");
}

TEST(ImageCodecs, JpegIsBaselineJfifWithoutSubsampling) {
    std::string jpeg;
    ASSERT_EQ(encodeBitmap(quadrants(PixelFormat::Argb32, 35), "image/jpeg", jpeg), Status::Ok);
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(static_cast<std::uint8_t>(jpeg[0]), 0xFF);
    EXPECT_EQ(static_cast<std::uint8_t>(jpeg[1]), 0xD8);
    EXPECT_NE(jpeg.find("\xFF\xC0"), std::string::npos);  // baseline frame
    const DecodedJpeg decoded = decodeJpeg(jpeg);
    EXPECT_EQ(decoded.width, 35);
    EXPECT_EQ(decoded.height, 35);
    EXPECT_EQ(decoded.components, 3);
    // The middle of each quadrant keeps its colour within JPEG's loss.
    auto near = [&](int x, int y, int r, int g, int b) {
        const std::uint8_t* p = decoded.rgb.data() + (static_cast<std::size_t>(y) * 35 + x) * 3;
        EXPECT_NEAR(p[0], r, 12) << x << "," << y;
        EXPECT_NEAR(p[1], g, 12) << x << "," << y;
        EXPECT_NEAR(p[2], b, 12) << x << "," << y;
    };
    near(5, 5, 255, 0, 0);
    near(30, 5, 0, 255, 0);
    near(5, 30, 0, 0, 255);
    near(30, 30, 255, 255, 255);
}

TEST(ImageCodecs, BmpStoresRowsBottomUpAndPadded) {
    Bitmap bitmap(3, 2, PixelFormat::Rgb24);
    bitmap.setPixel(0, 0, 0xFF010203);  // top left
    bitmap.setPixel(2, 1, 0xFF0A0B0C);  // bottom right
    std::string bmp;
    ASSERT_EQ(encodeBitmap(bitmap, "image/bmp", bmp), Status::Ok);
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);  // 9 bytes a row padded to 12
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(readLe(bmp, 2, 4), bmp.size());
    EXPECT_EQ(readLe(bmp, 10, 4), 54u);
    EXPECT_EQ(readLe(bmp, 18, 4), 3u);
    EXPECT_EQ(readLe(bmp, 22, 4), 2u);
    EXPECT_EQ(readLe(bmp, 28, 2), 24u);
    EXPECT_EQ(readLe(bmp, 54 + 6, 3), 0x0A0B0Cu);  // first stored row is the bottom one
    EXPECT_EQ(readLe(bmp, 54 + 12, 3), 0x010203u);

    ASSERT_EQ(encodeBitmap(quadrants(PixelFormat::Argb32, 2), "image/bmp", bmp), Status::Ok);
    EXPECT_EQ(readLe(bmp, 28, 2), 32u);
    EXPECT_EQ(bmp.size(), 54u + 2 * 8);
}

TEST(ImageCodecs, GifKeepsFewColoursExactlyAndQuantizesMany) {
    auto decode = [](const std::string& bytes, int& width, int& height) {
        std::istringstream input(bytes);
        int error = 0;
        GifFileType* file = DGifOpen(&input, readFromString, &error);
        EXPECT_NE(file, nullptr);
        EXPECT_EQ(DGifSlurp(file), GIF_OK);
        width = file->SWidth;
        height = file->SHeight;
        std::vector<std::uint32_t> pixels;
        const SavedImage& image = file->SavedImages[0];
        for (int i = 0; i < width * height; ++i) {
            const GifColorType c = file->SColorMap->Colors[image.RasterBits[i]];
            pixels.push_back(static_cast<std::uint32_t>(c.Red) << 16 | c.Green << 8 | c.Blue);
        }
        DGifCloseFile(file, &error);
        return pixels;
    };
    std::string gif;
    const Bitmap few = quadrants(PixelFormat::Rgb24, 20);
    ASSERT_EQ(encodeBitmap(few, "image/gif", gif), Status::Ok);
    EXPECT_EQ(gif.substr(0, 6), "GIF89a");
    int width = 0, height = 0;
    const auto pixels = decode(gif, width, height);
    ASSERT_EQ(width, 20);
    ASSERT_EQ(height, 20);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(pixels[static_cast<std::size_t>(y) * 20 + x], few.pixel(x, y) & 0xFFFFFF);
        }
    }

    Bitmap many(64, 64, PixelFormat::Rgb24);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            many.setPixel(x, y, static_cast<std::uint32_t>(x * 4 << 16 | y * 4 << 8 | (x + y)));
        }
    }
    ASSERT_EQ(encodeBitmap(many, "image/gif", gif), Status::Ok);
    const auto quantized = decode(gif, width, height);
    ASSERT_EQ(quantized.size(), 64u * 64u);
    const std::uint32_t corner = quantized.back();
    EXPECT_NEAR(static_cast<int>(corner >> 16), 252, 16);
    EXPECT_NEAR(static_cast<int>(corner >> 8 & 0xFF), 252, 16);

    // A photograph beside white paper and black text: the white and the black stay exact,
    // and the gradient is dithered, so the mean of each column stays close to the source's
    // instead of stepping in bands.
    Bitmap photo(256, 96, PixelFormat::Rgb24);
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 256; ++x) {
            std::uint32_t colour =
                static_cast<std::uint32_t>(x << 16 | (255 - x) << 8 | (x / 2 + y));
            if (y < 16)
                colour = 0xFFFFFF;
            else if (y < 20 && x % 3 == 0)
                colour = 0x000000;
            photo.setPixel(x, y, colour);
        }
    }
    ASSERT_EQ(encodeBitmap(photo, "image/gif", gif), Status::Ok);
    const auto dithered = decode(gif, width, height);
    for (int x = 0; x < 256; ++x) {
        ASSERT_EQ(dithered[x], 0xFFFFFFu) << "white at column " << x;
        if (x % 3 == 0) {
            ASSERT_EQ(dithered[16 * 256 + x], 0u) << "black at column " << x;
        }
    }
    // (The gamut's edge columns lie outside the palette's reach.)
    for (int x = 16; x < 240; ++x) {
        double green = 0;
        for (int y = 24; y < 96; ++y)
            green += dithered[static_cast<std::size_t>(y) * 256 + x] >> 8 & 0xFF;
        ASSERT_NEAR(green / 72, 255 - x, 2.5) << "column " << x;
    }
}

TEST(ImageCodecs, EncodersAreListedByMimeType) {
    std::vector<std::string> types;
    for (const ImageEncoder& encoder : imageEncoders()) {
        types.push_back(encoder.mimeType);
    }
    EXPECT_EQ(types,
              (std::vector<std::string>{"image/bmp", "image/jpeg", "image/gif", "image/png"}));
}

TEST(ImageDecoders, JpegAndGifPicturesDecodeAndDamagedOnesFail) {
    Bitmap back;
    std::string jpeg;
    ASSERT_EQ(encodeBitmap(quadrants(PixelFormat::Rgb24), "image/jpeg", jpeg), Status::Ok);
    ASSERT_EQ(decodeBitmap(jpeg, back), Status::Ok);
    ASSERT_EQ(back.width(), 32);
    ASSERT_EQ(back.height(), 32);
    // Lossy, but each quadrant keeps its colour.
    const auto near = [](std::uint32_t a, std::uint32_t b) {
        for (int shift : {0, 8, 16})
            if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 24)
                return false;
        return true;
    };
    EXPECT_TRUE(near(back.pixel(4, 4), 0xFFFF0000));
    EXPECT_TRUE(near(back.pixel(28, 4), 0xFF00FF00));
    EXPECT_TRUE(near(back.pixel(4, 28), 0xFF0000FF));
    EXPECT_EQ(decodeBitmap(std::string_view(jpeg).substr(0, 40), back), Status::GenericError);
    EXPECT_TRUE(back.empty());

    std::string gif;
    ASSERT_EQ(encodeBitmap(quadrants(PixelFormat::Rgb24), "image/gif", gif), Status::Ok);
    ASSERT_EQ(decodeBitmap(gif, back), Status::Ok);
    EXPECT_EQ(back.pixel(4, 4), 0xFFFF0000u);  // few colours: exact
    EXPECT_EQ(back.pixel(28, 28), 0xFFFFFFFFu);
    EXPECT_EQ(decodeBitmap(std::string_view(gif).substr(0, 20), back), Status::GenericError);

    // A picture claiming more pixels than allowed is refused before it is read.
    std::string huge = gif;
    huge[6] = huge[7] = huge[8] = huge[9] = static_cast<char>(0xFF);  // 65535 x 65535
    EXPECT_EQ(decodeBitmap(huge, back), Status::GenericError);
    EXPECT_TRUE(back.empty());
}

TEST(ImageDecoders, SvgPicturesTakeTheSizeABrowserGivesThem) {
    const auto decoded = [](const std::string& svg) {
        Bitmap bitmap;
        EXPECT_EQ(decodeBitmap(svg, bitmap), Status::Ok);
        return bitmap;
    };
    // Width and height, in any absolute unit.
    const Bitmap sized = decoded(
        "<?xml version='1.0'?><!-- a square --><svg xmlns='http://www.w3.org/2000/svg' "
        "width='40' height='0.25in'><rect width='20' height='24' fill='#ff0000'/></svg>");
    EXPECT_EQ(sized.width(), 40);
    EXPECT_EQ(sized.height(), 24);
    EXPECT_EQ(sized.pixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(sized.pixel(30, 5) >> 24, 0u);  // transparent where nothing is drawn
    // A viewBox alone gives its size; the drawing fills it.
    const Bitmap boxed = decoded(
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 12'>"
        "<circle cx='6' cy='6' r='6' fill='blue'/></svg>");
    EXPECT_EQ(boxed.width(), 24);
    EXPECT_EQ(boxed.height(), 12);
    EXPECT_EQ(boxed.pixel(6, 6), 0xFF0000FFu);
    // Nothing at all: the 300x150 of a picture without a size.
    const Bitmap bare = decoded("<svg xmlns='http://www.w3.org/2000/svg'></svg>");
    EXPECT_EQ(bare.width(), 300);
    EXPECT_EQ(bare.height(), 150);
    // A huge size is drawn smaller, keeping its shape.
    const Bitmap huge =
        decoded("<svg xmlns='http://www.w3.org/2000/svg' width='100000' height='50000'></svg>");
    EXPECT_EQ(huge.width(), 4096);
    EXPECT_EQ(huge.height(), 2048);

    Bitmap bitmap;
    EXPECT_EQ(decodeBitmap("<svg xmlns='http://www.w3.org/2000/svg'><rect", bitmap),
              Status::GenericError);
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(decodeBitmap("<html><svg></svg></html>", bitmap), Status::UnknownImageFormat);
}
