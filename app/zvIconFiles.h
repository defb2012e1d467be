// zvIconFiles: the piece icons as bitmap files in the program's temporary folder, one per
// piece table record, named by its itemID: written from the catalogue's icon field (or the
// stock picture), mirrored for the left-hand and backward copies, and replaced by a
// placeholder showing the key when a file cannot be read as a picture.
#pragma once

#include "app/core/zvLib_catalogue.h"

#include <QImage>

#include <string>

class zvIconFiles : public zvPieceIcons {
  public:
    // The side of an icon in pixels.
    static constexpr int kSide = 40;

    // Icons kept in the folder (a folder text ending with "/").
    explicit zvIconFiles(std::string folder);

    // The icon file of a record: the folder, its itemID and ".bmp".
    std::string IconPath(const zvPieceRecord& record) const;
    // Writes the record's icon from the catalogue's icon field, or the stock picture when the
    // field holds nothing; cError 75 when the file cannot be written.
    void WriteIcon(const zvPieceRecord& record, cField* icona) override;
    // Writes the copy's icon as the source's mirrored left to right; nothing when the source's
    // icon cannot be read (the check that follows gives the copy a placeholder).
    void MirrorIcon(const zvPieceRecord& source, const zvPieceRecord& copy) override;
    // Replaces an icon that cannot be read as a picture by the record's key on white.
    void CheckIcon(const zvPieceRecord& record) override;
    // The picture of pieces without an icon: kSide pixels square, 24 bits.
    static QImage StockPicture();

  private:
    void Save(const QImage& image, const std::string& path) const;

    std::string folder_;
};
