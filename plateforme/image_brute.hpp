#pragma once
// The program's pictures as they are compiled in: already in the format the
// screen paints from, so showing one costs no decoding and no copy.
//   bytes 0-3   "QIM1"
//   bytes 4-15  width, height, QImage::Format, each a little-endian uint32
//   then        height rows of width × 4 bytes
// Only Format_RGB32 (opaque pictures) and Format_ARGB32_Premultiplied occur.
#include <QByteArray>
#include <QImage>

namespace quorvel {

inline constexpr int entete_image_brute = 16;

// The file for a picture; opaque pictures become RGB32, the others premultiplied ARGB32.
QByteArray en_image_brute(const QImage& image);

// A picture over these bytes, sharing them when they are 4-byte aligned (the
// bytes must then outlive it and never change), copied otherwise. A null
// image when the bytes are not such a file: short, wrong header, or sizes
// that do not match its length.
QImage image_brute(const uchar* octets, qsizetype taille);

// The same over bytes of its own (unpacked from a compressed resource, say):
// the picture keeps them, and Qt changes it in place where it would copy
// read-only pixels (to give it a device pixel ratio, for one).
QImage image_brute(QByteArray octets);

} // namespace quorvel
