#include "HairVariants.h"

#include <iterator>

namespace installdata {

namespace {

using B = Bangs;
using D = Drape;
using F = Form;
using M = MensCut;
using P = Piece;

// Palettes: 0 black, 1 dark brown, 2 chestnut, 3 auburn, 4 blonde, 5 ash blonde, 6 burgundy,
// 7 espresso, 8 caramel, 9 silver grey. Within a category the rows differ in length, parting,
// fringe, volume, layering, how the lengths meet the shoulders and what is gathered up, so that
// every style has its own outline.
// clang-format off
const HairVariant kVariants[] = {
    {.code = "dz", .title = "齐耳短发", .palette = 0, .form = F::Down, .volume = 2, .tipLeft = 222, .tipRight = 222, .spread = 2, .bangs = B::Full, .seed = 101, .width = 9, .fringeY = 158, .tousled = true, .lift = 6, .domePower = 2.2},
    {.code = "dz", .title = "侧分波波头", .palette = 2, .form = F::Down, .part = 162, .volume = 2, .tipLeft = 300, .tipRight = 330, .spread = 4, .bangs = B::Side, .choppy = 0.05, .seed = 102, .tousled = true, .lift = 6},
    {.code = "dz", .title = "内扣短发", .palette = 1, .form = F::Down, .volume = 18, .tipLeft = 347, .tipRight = 347, .spread = -19, .bangs = B::Curtain, .choppy = 0.03, .seed = 103, .width = 10, .tousled = true, .lift = 3},
    {.code = "dz", .title = "精灵短发", .palette = 7, .form = F::Down, .part = 218, .volume = 18, .tipLeft = 224, .tipRight = 224, .bangs = B::Side, .choppy = 0.12, .seed = 104, .width = -8, .fringeY = 150, .tousled = true, .lift = 7},
    {.code = "dz", .title = "蘑菇短发", .palette = 8, .form = F::Down, .volume = 24, .tipLeft = 285, .tipRight = 285, .spread = -6, .bangs = B::Full, .choppy = 0.03, .seed = 105, .width = 24, .fringeY = 172, .tousled = true, .lift = 6},
    {.code = "dz", .title = "不对称短发", .palette = 3, .form = F::Down, .part = 226, .volume = 8, .tipLeft = 372, .tipRight = 226, .spread = 6, .bangs = B::Side, .choppy = 0.05, .seed = 106, .tousled = true, .lift = 4},
    {.code = "dz", .title = "A字波波头", .palette = 5, .form = F::Down, .volume = 2, .tipLeft = 340, .tipRight = 340, .spread = 34, .seed = 107, .tousled = true, .lift = 5},
    {.code = "dz", .title = "挂耳短发", .palette = 4, .form = F::Down, .part = 170, .volume = 2, .tipLeft = 259, .tipRight = 278, .spread = 1, .choppy = 0.08, .seed = 108, .width = 6, .tuckLeft = true, .tousled = true, .lift = 3},

    {.code = "mz", .title = "自然中分直发", .palette = 1, .form = F::Down, .volume = 2, .tipLeft = 426, .tipRight = 426, .spread = 10, .curl = {2, 2, 0, 0.5}, .choppy = 0.06, .seed = 201, .lift = 8},
    {.code = "mz", .title = "空气刘海中长发", .palette = 3, .form = F::Down, .part = 176, .volume = 21, .tipLeft = 417, .tipRight = 417, .spread = 22, .bangs = B::Curtain, .choppy = 0.06, .seed = 202, .width = 8, .drapeLeft = D::Front, .drapeRight = D::Front, .lift = 6, .domePower = 2.2},
    {.code = "mz", .title = "齐刘海锁骨发", .palette = 0, .form = F::Down, .volume = 2, .tipLeft = 319, .tipRight = 319, .spread = 6, .bangs = B::Full, .seed = 203, .drapeLeft = D::Behind, .drapeRight = D::Behind, .lift = 8},
    {.code = "mz", .title = "侧分锁骨发", .palette = 2, .form = F::Down, .part = 160, .volume = 8, .tipLeft = 436, .tipRight = 340, .spread = 7, .bangs = B::Side, .choppy = 0.05, .seed = 204, .drapeLeft = D::Front, .drapeRight = D::Behind, .lift = 9},
    {.code = "mz", .title = "外翻中长发", .palette = 4, .form = F::Down, .part = 184, .volume = 2, .tipLeft = 340, .tipRight = 340, .spread = 38, .curl = {2, 1.5, 0, 0.6}, .choppy = 0.05, .seed = 205, .width = 6, .drapeLeft = D::Front, .drapeRight = D::Front, .lift = 11},
    {.code = "mz", .title = "齐肩内扣直发", .palette = 7, .form = F::Down, .part = 204, .volume = 13, .tipLeft = 286, .tipRight = 286, .spread = -14, .choppy = 0.03, .seed = 206, .width = 12, .lift = 10},
    {.code = "mz", .title = "挂耳中长发", .palette = 8, .form = F::Down, .part = 206, .volume = 8, .tipLeft = 360, .tipRight = 400, .spread = 6, .seed = 207, .drapeLeft = D::Behind, .drapeRight = D::Front, .tuckLeft = true, .lift = 9},
    {.code = "mz", .title = "层次中长发", .palette = 6, .form = F::Down, .part = 172, .volume = 30, .tipLeft = 393, .tipRight = 393, .spread = 23, .bangs = B::Wispy, .choppy = 0.1, .seed = 208, .width = 24, .layers = 0.3, .lift = 8},

    {.code = "cz", .title = "飘逸黑长直发", .palette = 0, .form = F::Down, .volume = 2, .tipLeft = 477, .tipRight = 477, .spread = -11, .choppy = 0.05, .seed = 301, .lift = 7},
    {.code = "cz", .title = "侧分长直发", .palette = 4, .form = F::Down, .part = 162, .volume = 2, .tipLeft = 478, .tipRight = 427, .spread = 49, .curl = {1.5, 2, 0, 0.5}, .bangs = B::Side, .choppy = 0.06, .seed = 302, .drapeLeft = D::Front, .drapeRight = D::Behind, .lift = 7},
    {.code = "cz", .title = "齐刘海长直发", .palette = 1, .form = F::Down, .volume = 2, .tipLeft = 478, .tipRight = 478, .spread = 56, .bangs = B::Full, .seed = 303, .width = 24, .fringeY = 168, .drapeLeft = D::Front, .drapeRight = D::Front, .lift = 7},
    {.code = "cz", .title = "空气刘海长发", .palette = 8, .form = F::Down, .part = 178, .volume = 5, .tipLeft = 410, .tipRight = 410, .spread = 43, .bangs = B::Curtain, .choppy = 0.05, .seed = 304, .width = 24, .drapeLeft = D::Behind, .drapeRight = D::Behind, .lift = 8},
    {.code = "cz", .title = "层次长直发", .palette = 2, .form = F::Down, .part = 208, .volume = 19, .tipLeft = 478, .tipRight = 478, .spread = -8, .bangs = B::Side, .choppy = 0.12, .seed = 305, .layers = 0.2, .drapeLeft = D::Front, .drapeRight = D::Front, .lift = 11, .domePower = 2.25},
    {.code = "cz", .title = "偏分垂顺长发", .palette = 7, .form = F::Down, .part = 214, .volume = 2, .tipLeft = 431, .tipRight = 431, .spread = -30, .bangs = B::Side, .seed = 306, .drapeLeft = D::Behind, .drapeRight = D::Behind, .lift = 10},
    {.code = "cz", .title = "挂耳长直发", .palette = 5, .form = F::Down, .part = 204, .volume = 8, .tipLeft = 430, .tipRight = 456, .spread = 8, .seed = 307, .drapeLeft = D::Behind, .drapeRight = D::Front, .tuckLeft = true, .lift = 9},
    {.code = "cz", .title = "蓬松长直发", .palette = 3, .form = F::Down, .part = 184, .volume = 30, .tipLeft = 444, .tipRight = 444, .spread = 28, .bangs = B::Wispy, .choppy = 0.08, .seed = 308, .width = 20, .drapeLeft = D::Front, .drapeRight = D::Front, .lift = 6},

    {.code = "s", .title = "层次碎发", .palette = 1, .form = F::Down, .part = 182, .volume = 14, .tipLeft = 310, .tipRight = 297, .spread = 10, .bangs = B::Curtain, .choppy = 0.24, .seed = 401, .width = 20, .lift = 5, .domePower = 2.0, .layered = true},
    {.code = "s", .title = "羽毛碎剪", .palette = 2, .form = F::Down, .part = 168, .volume = 2, .tipLeft = 409, .tipRight = 368, .spread = 16, .bangs = B::Side, .choppy = 0.22, .seed = 402, .layers = 0.3, .drapeLeft = D::Front, .drapeRight = D::Front, .lift = 9, .layered = true},
    {.code = "s", .title = "狼尾碎发", .palette = 7, .form = F::Down, .volume = 21, .tipLeft = 325, .tipRight = 325, .spread = 16, .bangs = B::Wispy, .choppy = 0.32, .seed = 403, .width = 32, .layers = 0.35, .drapeLeft = D::Behind, .drapeRight = D::Behind, .lift = 6, .layered = true},
    {.code = "s", .title = "碎发波波头", .palette = 8, .form = F::Down, .part = 208, .volume = 6, .tipLeft = 290, .tipRight = 284, .spread = -4, .bangs = B::Side, .choppy = 0.34, .seed = 404, .tousled = true, .lift = 9, .layered = true},
    {.code = "s", .title = "长碎发", .palette = 3, .form = F::Down, .part = 170, .volume = 11, .tipLeft = 436, .tipRight = 439, .spread = 34, .curl = {1, 2, 0, 0.5}, .bangs = B::Curtain, .choppy = 0.28, .seed = 405, .width = 7, .layers = 0.3, .lift = 12, .layered = true},
    {.code = "s", .title = "蓬松碎短发", .palette = 4, .form = F::Down, .part = 160, .volume = 6, .tipLeft = 232, .tipRight = 250, .spread = 14, .bangs = B::Wispy, .choppy = 0.36, .seed = 406, .width = 10, .fringeY = 136, .tousled = true, .lift = 6, .layered = true},
    {.code = "s", .title = "碎发锁骨发", .palette = 5, .form = F::Down, .part = 200, .volume = 8, .tipLeft = 330, .tipRight = 406, .spread = 12, .choppy = 0.26, .seed = 407, .drapeRight = D::Front, .tuckLeft = true, .lift = 10, .layered = true},
    {.code = "s", .title = "鲻鱼碎发", .palette = 6, .form = F::Down, .volume = 25, .tipLeft = 280, .tipRight = 280, .spread = 30, .bangs = B::Full, .choppy = 0.3, .seed = 408, .width = -8, .layers = 0.3, .fringeY = 150, .tousled = true, .lift = 4, .layered = true, .backTip = 430},

    {.code = "p", .title = "高盘发髻", .palette = 0, .form = F::Updo, .volume = 2, .seed = 501, .pieces = {{P::Bun, 190, 46, 0.62}}},
    {.code = "p", .title = "侧分低盘发", .palette = 2, .form = F::Updo, .part = 168, .volume = 8, .bangs = B::Side, .seed = 502, .pieces = {{P::Bun, 252, 86, 0.9}}},
    {.code = "p", .title = "双丸子头", .palette = 8, .form = F::Updo, .volume = 2, .seed = 503, .pieces = {{P::Bun, 116, 86, 1.3}, {P::Bun, 264, 86, 1.3}}},
    {.code = "p", .title = "高马尾", .palette = 1, .form = F::Updo, .volume = 30, .seed = 504, .width = 22, .pieces = {{P::Tail, 208, 50, 2.1, 334, 396}}, .pouf = 36},
    {.code = "p", .title = "丸子头", .palette = 3, .form = F::Updo, .volume = 5, .bangs = B::Wispy, .seed = 505, .width = 1, .pieces = {{P::Bun, 190, 42, 1.6}}},
    {.code = "p", .title = "低侧马尾", .palette = 7, .form = F::Down, .part = 160, .volume = 8, .tipLeft = 236, .tipRight = 228, .seed = 506, .pieces = {{P::Tail, 124, 252, 1.1, 118, 440}}},
    {.code = "p", .title = "皇冠编发", .palette = 4, .form = F::Updo, .volume = 2, .seed = 507, .pieces = {{P::Braid, 104, 204, 1.9, 276, 204}}},
    {.code = "p", .title = "侧麻花辫", .palette = 5, .form = F::Down, .part = 176, .volume = 9, .tipLeft = 234, .tipRight = 232, .seed = 508, .pieces = {{P::Braid, 264, 232, 1.25, 254, 440}}},
    {.code = "p", .title = "赫本蓬松盘发", .palette = 6, .form = F::Updo, .volume = 30, .bangs = B::Full, .seed = 509, .width = 38, .fringeY = 150, .pieces = {{P::Bun, 190, 40, 1.5}}, .pouf = 48},

    {.code = "y", .title = "酒红不对称发", .palette = 6, .form = F::Down, .part = 158, .volume = 12, .tipLeft = 262, .tipRight = 412, .spread = 12, .bangs = B::Side, .choppy = 0.12, .seed = 601, .drapeRight = D::Front, .lift = 9},
    {.code = "y", .title = "亚麻纹理发", .palette = 5, .form = F::Down, .part = 200, .volume = 24, .tipLeft = 289, .tipRight = 359, .spread = 21, .curl = {2.5, 3, 0.2, 0.4}, .bangs = B::Curtain, .choppy = 0.22, .seed = 602, .width = 12, .lift = 10, .layered = true, .textured = true},
    {.code = "y", .title = "银灰前卫短发", .palette = 9, .form = F::Down, .part = 226, .volume = 16, .tipLeft = 300, .tipRight = 226, .spread = 18, .bangs = B::Side, .choppy = 0.24, .seed = 603, .width = 4, .lift = 5, .layered = true, .textured = true},
    {.code = "y", .title = "橘红层次长发", .palette = 3, .form = F::Down, .part = 210, .volume = 8, .tipLeft = 420, .tipRight = 384, .spread = 20, .curl = {3, 2, 0.1, 0.5}, .bangs = B::Side, .choppy = 0.18, .seed = 604, .layers = 0.2, .drapeLeft = D::Front, .drapeRight = D::Behind, .lift = 6},
    {.code = "y", .title = "金色斜边波波头", .palette = 4, .form = F::Down, .part = 150, .volume = 2, .tipLeft = 381, .tipRight = 272, .spread = 2, .bangs = B::Full, .choppy = 0.03, .seed = 605, .fringeY = 150, .drapeLeft = D::Front, .lift = 4},
    // A finger-wave set is pressed close to the head, ridges sculpted on the skull: no lift.
    {.code = "y", .title = "复古手推波纹发", .palette = 0, .form = F::Down, .part = 150, .volume = 2, .tipLeft = 256, .tipRight = 248, .spread = 7, .curl = {5, 4, 0.1, 0.2}, .bangs = B::Side, .choppy = 0.02, .seed = 606, .fingerWaves = true},
    {.code = "y", .title = "单边挂耳长发", .palette = 8, .form = F::Down, .part = 206, .volume = 9, .tipLeft = 332, .tipRight = 450, .spread = 10, .choppy = 0.06, .seed = 607, .drapeRight = D::Front, .tuckLeft = true, .lift = 9, .domePower = 2.2},
    {.code = "y", .title = "朋克蓬发", .palette = 1, .form = F::Down, .part = 190, .volume = 18, .tipLeft = 262, .tipRight = 262, .spread = 10, .bangs = B::Wispy, .choppy = 0.35, .seed = 608, .width = 6, .lift = 14, .spiky = true},

    {.code = "dj", .title = "蓬松短卷发", .palette = 1, .form = F::Down, .part = 184, .volume = 20, .tipLeft = 318, .tipRight = 322, .spread = 6, .curl = {6.5, 2, 1.0, 1.0}, .seed = 701, .width = 18, .shortCurls = true},
    {.code = "dj", .title = "齐刘海短卷", .palette = 0, .form = F::Down, .volume = 14, .tipLeft = 268, .tipRight = 268, .spread = -8, .curl = {5.5, 2, 1.0, 0.6}, .bangs = B::Full, .seed = 702, .width = 10, .fringeY = 154, .shortCurls = true},
    {.code = "dj", .title = "羊毛卷短发", .palette = 2, .form = F::Down, .part = 180, .volume = 44, .tipLeft = 292, .tipRight = 292, .spread = 0, .curl = {3.8, 2.5, 1.0, 2.0}, .seed = 703, .width = 62, .shortCurls = true},
    {.code = "dj", .title = "侧分短卷发", .palette = 7, .form = F::Down, .part = 144, .volume = 2, .tipLeft = 336, .tipRight = 244, .spread = -4, .curl = {6, 1.8, 0.9, 0.8}, .seed = 704, .width = 0, .shortCurls = true},
    {.code = "dj", .title = "微卷波波头", .palette = 8, .form = F::Down, .volume = 2, .tipLeft = 356, .tipRight = 356, .spread = -14, .curl = {9, 1.3, 0.1, 0.3}, .bangs = B::Curtain, .seed = 705, .width = 0, .shortCurls = true},
    {.code = "dj", .title = "蛋卷短发", .palette = 3, .form = F::Down, .part = 176, .volume = 27, .tipLeft = 224, .tipRight = 230, .spread = 10, .curl = {9.5, 1.6, 1.0, 0.5}, .bangs = B::Wispy, .seed = 706, .width = 26, .shortCurls = true},
    {.code = "dj", .title = "短卷精灵头", .palette = 5, .form = F::Down, .part = 216, .volume = 2, .tipLeft = 216, .tipRight = 216, .spread = 2, .curl = {5, 2, 1.0, 0.6}, .bangs = B::Side, .seed = 707, .width = 0, .fringeY = 142, .shortCurls = true},
    {.code = "dj", .title = "挂耳短卷", .palette = 6, .form = F::Down, .part = 204, .volume = 4, .tipLeft = 250, .tipRight = 322, .spread = -4, .curl = {6, 1.8, 0.9, 0.6}, .seed = 708, .width = 4, .tuckLeft = true, .shortCurls = true},

    {.code = "mj", .title = "自然中长卷", .palette = 2, .form = F::Down, .part = 172, .volume = 28, .tipLeft = 462, .tipRight = 462, .spread = 24, .curl = {8, 10, 0.8, 0.35}, .choppy = 0.08, .seed = 801, .width = 0, .drapeLeft = D::Front, .drapeRight = D::Behind},
    {.code = "mj", .title = "空气刘海中卷", .palette = 1, .form = F::Down, .volume = 13, .tipLeft = 320, .tipRight = 320, .spread = 8, .curl = {8, 10, 1.0, 0.3}, .bangs = B::Curtain, .choppy = 0.08, .seed = 802, .width = 16, .drapeLeft = D::Front, .drapeRight = D::Front},
    {.code = "mj", .title = "法式慵懒卷", .palette = 4, .form = F::Down, .part = 178, .volume = 2, .tipLeft = 416, .tipRight = 376, .spread = 6, .curl = {7, 8, 0.6, 0.3}, .bangs = B::Wispy, .choppy = 0.1, .seed = 803, .width = 0, .drapeLeft = D::Behind, .drapeRight = D::Behind},
    {.code = "mj", .title = "侧分锁骨卷", .palette = 7, .form = F::Down, .part = 160, .volume = 2, .tipLeft = 290, .tipRight = 306, .spread = 11, .curl = {8, 10, 0.9, 0.35}, .bangs = B::Side, .choppy = 0.08, .seed = 804, .width = 1, .drapeLeft = D::Front, .drapeRight = D::Behind},
    {.code = "mj", .title = "蓬松泡面卷", .palette = 0, .form = F::Down, .volume = 30, .tipLeft = 328, .tipRight = 328, .spread = 50, .curl = {6, 15, 1.0, 0.2}, .choppy = 0.08, .seed = 805, .width = 30},
    {.code = "mj", .title = "栗色中卷发", .palette = 3, .form = F::Down, .part = 182, .volume = 2, .tipLeft = 398, .tipRight = 398, .spread = 30, .curl = {8, 9, 0.8, 0.3}, .bangs = B::Full, .choppy = 0.06, .seed = 806, .width = 40, .drapeLeft = D::Front, .drapeRight = D::Front},
    {.code = "mj", .title = "挂耳中卷", .palette = 8, .form = F::Down, .part = 206, .volume = 16, .tipLeft = 328, .tipRight = 456, .spread = -18, .curl = {7, 9, 0.8, 0.3}, .choppy = 0.08, .seed = 807, .drapeLeft = D::Behind, .drapeRight = D::Front, .tuckLeft = true},
    {.code = "mj", .title = "层次中卷", .palette = 6, .form = F::Down, .part = 184, .volume = 18, .tipLeft = 280, .tipRight = 296, .spread = -20, .curl = {6, 8, 0.7, 0.2}, .bangs = B::Wispy, .choppy = 0.14, .seed = 808, .width = 44, .layers = 0.22},

    {.code = "o", .title = "侧分大波浪", .palette = 3, .form = F::Down, .part = 170, .volume = 2, .tipLeft = 478, .tipRight = 478, .spread = 3, .curl = {13, 2.6, 0.25, 0.38}, .bangs = B::Side, .choppy = 0.06, .seed = 901},
    {.code = "o", .title = "空气大波浪", .palette = 4, .form = F::Down, .volume = 17, .tipLeft = 456, .tipRight = 456, .spread = 26, .curl = {12, 2.8, 0.3, 0.35}, .bangs = B::Curtain, .choppy = 0.06, .seed = 902, .drapeLeft = D::Front, .drapeRight = D::Front},
    {.code = "o", .title = "复古大波浪", .palette = 0, .form = F::Down, .part = 156, .volume = 8, .tipLeft = 392, .tipRight = 404, .spread = 36, .curl = {14, 2.4, 0.25, 0.3}, .bangs = B::Side, .choppy = 0.04, .seed = 903, .width = 22, .drapeLeft = D::Front, .drapeRight = D::Behind},
    {.code = "o", .title = "中分大波浪", .palette = 1, .form = F::Down, .volume = 6, .tipLeft = 478, .tipRight = 478, .spread = 3, .curl = {14, 2.8, 0.3, 0.4}, .choppy = 0.06, .seed = 904, .drapeLeft = D::Behind, .drapeRight = D::Behind},
    {.code = "o", .title = "浪漫长波浪", .palette = 8, .form = F::Down, .part = 178, .volume = 28, .tipLeft = 478, .tipRight = 478, .spread = 22, .curl = {15, 3.2, 0.3, 0.42}, .bangs = B::Wispy, .choppy = 0.07, .seed = 905, .width = 24, .drapeLeft = D::Front, .drapeRight = D::Front},
    {.code = "o", .title = "锁骨大波浪", .palette = 2, .form = F::Down, .part = 184, .volume = 25, .tipLeft = 319, .tipRight = 319, .spread = 27, .curl = {13, 2.7, 0.25, 0.28}, .bangs = B::Curtain, .choppy = 0.05, .seed = 906, .width = 6},
    {.code = "o", .title = "好莱坞侧波", .palette = 7, .form = F::Down, .part = 148, .volume = 19, .tipLeft = 330, .tipRight = 446, .spread = 16, .curl = {13, 2.6, 0.25, 0.3}, .choppy = 0.04, .seed = 907, .width = 4, .drapeRight = D::Front, .tuckLeft = true},
    {.code = "o", .title = "半扎大波浪", .palette = 5, .form = F::Down, .volume = 2, .tipLeft = 478, .tipRight = 478, .spread = 52, .curl = {12, 2.6, 0.25, 0.4}, .choppy = 0.06, .seed = 908, .width = 9, .drapeLeft = D::Behind, .drapeRight = D::Front, .pieces = {{P::Bun, 190, 60, 0.91}}},

    {.code = "cj", .title = "黑色长卷发", .palette = 0, .form = F::Down, .volume = 2, .tipLeft = 478, .tipRight = 478, .spread = 40, .curl = {7, 11.5, 1.0, 0.4}, .choppy = 0.07, .seed = 1001, .width = 0, .drapeLeft = D::Behind, .drapeRight = D::Behind},
    {.code = "cj", .title = "侧分长卷发", .palette = 1, .form = F::Down, .part = 166, .volume = 34, .tipLeft = 440, .tipRight = 430, .spread = -6, .curl = {8, 11.5, 0.9, 0.3}, .bangs = B::Side, .choppy = 0.07, .seed = 1002, .width = 2, .drapeLeft = D::Front, .drapeRight = D::Behind},
    {.code = "cj", .title = "螺旋长卷发", .palette = 2, .form = F::Down, .volume = 2, .tipLeft = 410, .tipRight = 410, .spread = 72, .curl = {7, 14.4, 1.0, 0.25}, .choppy = 0.08, .seed = 1003, .width = 44, .drapeLeft = D::Behind, .drapeRight = D::Behind},
    {.code = "cj", .title = "空气刘海长卷", .palette = 4, .form = F::Down, .part = 182, .volume = 2, .tipLeft = 478, .tipRight = 471, .spread = 58, .curl = {8, 10.1, 0.9, 0.3}, .bangs = B::Curtain, .choppy = 0.07, .seed = 1004, .width = 18, .drapeLeft = D::Front, .drapeRight = D::Front},
    {.code = "cj", .title = "浪漫棕色长卷", .palette = 7, .form = F::Down, .part = 176, .volume = 12, .tipLeft = 316, .tipRight = 404, .spread = 24, .curl = {10, 10.1, 0.8, 0.55}, .bangs = B::Wispy, .choppy = 0.07, .seed = 1005, .width = 0, .layers = 0.25},
    {.code = "cj", .title = "齐刘海长卷发", .palette = 3, .form = F::Down, .volume = 2, .tipLeft = 440, .tipRight = 440, .spread = -42, .curl = {6, 11.5, 1.0, 0.3}, .bangs = B::Full, .choppy = 0.07, .seed = 1006, .width = 0, .drapeLeft = D::Front, .drapeRight = D::Front},
    {.code = "cj", .title = "挂耳长卷", .palette = 8, .form = F::Down, .part = 206, .volume = 15, .tipLeft = 460, .tipRight = 478, .spread = -22, .curl = {8, 10.5, 0.9, 0.3}, .choppy = 0.07, .seed = 1007, .drapeLeft = D::Behind, .drapeRight = D::Front, .tuckLeft = true},
    {.code = "cj", .title = "蓬松爆炸卷", .palette = 6, .form = F::Down, .volume = 24, .tipLeft = 316, .tipRight = 316, .spread = 62, .curl = {6, 15, 1.0, 0.2}, .choppy = 0.1, .seed = 1008, .width = 24},

    {.code = "l", .title = "传统齐刘海长发", .palette = 0, .form = F::Down, .volume = 3, .tipLeft = 446, .tipRight = 446, .spread = 4, .bangs = B::Full, .choppy = 0.05, .seed = 1101, .width = 8, .fringeY = 168, .drapeLeft = D::Front, .drapeRight = D::Front, .lift = 4},
    {.code = "l", .title = "传统盘髻", .palette = 0, .form = F::Updo, .volume = 2, .seed = 1102, .pieces = {{P::Bun, 190, 66, 1.5}}},
    {.code = "l", .title = "传统中分直发", .palette = 0, .form = F::Down, .volume = 3, .tipLeft = 400, .tipRight = 400, .spread = 4, .choppy = 0.05, .seed = 1103, .drapeLeft = D::Behind, .drapeRight = D::Behind, .lift = 5},
    {.code = "l", .title = "端庄侧盘发", .palette = 1, .form = F::Updo, .part = 170, .volume = 5, .bangs = B::Side, .seed = 1104, .pieces = {{P::Bun, 236, 74, 0.72}}},
    {.code = "l", .title = "复古齐耳短发", .palette = 0, .form = F::Down, .volume = 4, .tipLeft = 285, .tipRight = 285, .spread = 8, .bangs = B::Full, .choppy = 0.03, .seed = 1105, .width = 3, .fringeY = 150, .lift = 3},
    {.code = "l", .title = "中分高髻", .palette = 7, .form = F::Updo, .volume = 18, .seed = 1106, .width = 16, .pieces = {{P::Bun, 190, 28, 1.15}}},
    {.code = "l", .title = "双麻花辫", .palette = 1, .form = F::Down, .volume = 15, .tipLeft = 222, .tipRight = 222, .spread = 0, .bangs = B::Full, .seed = 1107, .fringeY = 160, .pieces = {{P::Braid, 116, 236, 1.0, 122, 436}, {P::Braid, 264, 236, 1.0, 258, 436}}},
    {.code = "l", .title = "手推波纹短发", .palette = 7, .form = F::Down, .part = 150, .volume = 20, .tipLeft = 276, .tipRight = 292, .spread = -4, .curl = {5, 4, 0.1, 0.2}, .bangs = B::Side, .choppy = 0.02, .seed = 1108, .fringeY = 148, .fingerWaves = true},
    {.code = "l", .title = "双垂髻", .palette = 1, .form = F::Updo, .volume = 2, .seed = 1109, .pieces = {{P::Bun, 99, 228, 0.8}, {P::Bun, 281, 228, 0.8}}},

    {.code = "n", .title = "侧分短发", .palette = 0, .form = F::Crop, .part = 160, .volume = 10, .seed = 1201},
    {.code = "n", .title = "清爽平头", .palette = 1, .form = F::Crop, .volume = 3, .seed = 1202, .cut = M::Crew},
    {.code = "n", .title = "飞机头", .palette = 7, .form = F::Crop, .volume = 32, .seed = 1203, .cut = M::Quiff},
    {.code = "n", .title = "碎盖刘海", .palette = 1, .form = F::Crop, .volume = 10, .seed = 1204, .cut = M::Fringe},
    {.code = "n", .title = "男士侧分中长发", .palette = 7, .form = F::Down, .part = 160, .volume = 10, .tipLeft = 318, .tipRight = 326, .spread = 16, .choppy = 0.24, .seed = 1205, .layers = 0.3, .tuckLeft = true, .lift = 3},
    {.code = "n", .title = "卷发短寸", .palette = 0, .form = F::Crop, .volume = 24, .seed = 1207, .cut = M::Curly},
    {.code = "n", .title = "中分及耳发", .palette = 7, .form = F::Down, .volume = 3, .tipLeft = 300, .tipRight = 306, .spread = 20, .bangs = B::Curtain, .choppy = 0.14, .seed = 1208, .width = 10, .layers = 0.25, .fringeY = 140, .lift = 4},
    {.code = "n", .title = "男士蓬松卷发", .palette = 1, .form = F::Down, .part = 180, .volume = 20, .tipLeft = 290, .tipRight = 290, .spread = 10, .curl = {6, 11, 0.45, 0.2}, .choppy = 0.14, .seed = 1209, .width = 14},
};
// clang-format on

const char* const kCodes[] = {"dz", "mz", "s", "cz", "p", "y", "dj", "mj", "o", "cj", "l", "n"};
// How the program lists a category: case-insensitive wildcards on the file name.
const char* const kPatterns[] = {"d*z*", "m*z*", "*S*", "c*z*", "p*",  "y*",
                                 "d*j*", "m*j*", "*o*", "c*j*", "*L*", "*n*"};
const char* const kCategoryNames[] = {"短直", "中直", "碎发",   "长直", "盘发", "艺术",
                                      "短卷", "中卷", "大波浪", "长卷", "传统", "男士"};

}  // namespace

std::span<const HairVariant> hairVariants() { return kVariants; }

QString hairstyleFileName(int i) {
    int index = 0;
    for (int k = 0; k <= i; ++k)
        if (qstrcmp(kVariants[k].code, kVariants[i].code) == 0) ++index;
    return QString::fromLatin1(kVariants[i].code) +
           QStringLiteral("%1.tta").arg(index, 3, 10, QLatin1Char('0'));
}

QString hairCategoryName(const QString& code) {
    for (size_t k = 0; k < std::size(kCodes); ++k)
        if (code == QLatin1String(kCodes[k])) return QString::fromUtf8(kCategoryNames[k]);
    return {};
}

std::span<const char* const> hairCategoryCodes() { return kCodes; }
std::span<const char* const> hairCategoryPatterns() { return kPatterns; }

}  // namespace installdata
