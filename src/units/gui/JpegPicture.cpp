#include "units/gui/JpegPicture.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace Quorvel1 {

namespace {

// libjpeg ends the process on an error unless its error routine jumps out.
struct TJpegErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TJpegErrorJump*>(info->err)->jump, 1);
}

void JpegNoMessage(j_common_ptr) {}

// Decodes `data` into `image`; kept free of C++ objects with destructors
// between setjmp and longjmp.
bool DecodeJpeg(const unsigned char* data, unsigned long size, QImage& image)
{
    jpeg_decompress_struct info{};
    TJpegErrorJump error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegErrorExit;
    error.manager.output_message = JpegNoMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool TJpegPicture::Load(const QString& path)
{
    image_ = QImage();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (data.isEmpty())
        return false;
    QImage image;
    if (!DecodeJpeg(reinterpret_cast<const unsigned char*>(data.constData()),
                    static_cast<unsigned long>(data.size()), image))
        return false;
    image_ = image;
    return !image_.isNull();
}

} // namespace Quorvel1
