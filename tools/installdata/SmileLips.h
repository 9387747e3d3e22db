#pragma once
#include <QImage>
#include <vector>

namespace installdata {

// Lips drawn for a smile with the lips parted, 100 x 50 like every lip picture: an upper and a
// lower lip that curve up to the corners round an opening of zero alpha where the teeth show.
struct SmileLipPicture {
    char category;  // k lovely, h gorgeous, x graceful, y wild, z intellectual
    QImage picture;
};
std::vector<SmileLipPicture> drawSmileLips();

}  // namespace installdata
