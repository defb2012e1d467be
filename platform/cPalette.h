// cPalette: reduces a picture to a palette of at most 256 colours, as GIF files hold them. A
// picture of few colours keeps them exactly; one of more gets the colours of a median cut of
// its histogram, each pixel taking the nearest.
#pragma once

class QImage;

class cPalette {
  public:
    // The picture as an 8-bit indexed image of at most 256 colours: exact when the picture has
    // no more, otherwise the median-cut palette with every pixel on its nearest colour.
    static QImage Reduce(const QImage& picture);
};
