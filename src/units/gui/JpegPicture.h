#pragma once
// A JPEG decoder of its own (libjpeg), for the site map's pictures when the
// platform's image readers cannot read a JPEG file.
#include <QImage>
#include <QString>

namespace Quorvel1 {

class TJpegPicture {
public:
    // False, leaving Image null, when the file is missing or not a JPEG
    // picture libjpeg can decode.
    bool Load(const QString& path);
    const QImage& Image() const { return image_; }

private:
    QImage image_;
};

} // namespace Quorvel1
