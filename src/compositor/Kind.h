#pragma once

namespace ms {

// Component kinds, in the order their surfaces are created. The names are the pinyin keys of
// folders, record keys and operation names.
enum class Kind { xiushi, faxing, meimao, zuixing, xianglian, maozi, yanjing, erhuan, fuzhuang };
constexpr int kKindCount = 9;

// What the library windows list (the current library kind); the values are the ones the records
// and windows of the studio have always used.
enum class LibraryKind { None = 0, Hairstyles = 1, Eyebrows = 3, Lips = 6, Accessories = 8 };

// The accessory library's tab.
enum class AccessorySubKind { Hat = 8, Glasses = 9, Earrings = 10, Necklace = 11, Clothing = 12 };

// What a library thumbnail shows; decides its drawing area and its rectangle.
enum class ThumbnailKind { Hairstyle, Eyebrows, Lips, Hat, Glasses, Earrings, Necklace, Clothing };

// The blended layers, in the order huaban_hecheng1 draws them, plus the cut-out photo.
enum class Layer {
    EyebrowLeft,
    EyebrowRight,
    Lips,
    Necklace,
    Clothing,
    Hairstyle,
    Glasses,
    Hat,
    EarringLeft,
    EarringRight,
    Cutout,
};

}  // namespace ms
