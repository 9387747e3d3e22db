#include "imaging/PixelHelpers.h"

#include <cmath>

#include "imaging/Rounding.h"

namespace ms {

void premultiply_pixel(uint32_t& pixel) {
    const float a = static_cast<float>(pixel >> 24);
    uint32_t out = pixel & 0xFF000000u;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const float c = static_cast<float>(pixel >> shift & 0xFF);
        out |= static_cast<uint32_t>(roundHalfEven(c * a / 255.0)) << shift;
    }
    pixel = out;
}

std::array<double, 3> sample_bilinear(const RotationGrid& grid, double x, double y) {
    const int ix = static_cast<int>(std::floor(x));
    const double fx = x - ix;
    const int iy = static_cast<int>(std::floor(y));
    const float fy = static_cast<float>(y - iy);
    const uint32_t p00 = grid.at(ix, iy), p10 = grid.at(ix + 1, iy);
    const uint32_t p01 = grid.at(ix, iy + 1), p11 = grid.at(ix + 1, iy + 1);
    std::array<double, 3> out{};
    for (int k = 0; k < 3; ++k) {
        const int shift = 8 * k;
        const double c00 = p00 >> shift & 0xFF, c10 = p10 >> shift & 0xFF;
        const double c01 = p01 >> shift & 0xFF, c11 = p11 >> shift & 0xFF;
        const double a = (1.0 - fy) * c00 + fy * c01;
        const double b = roundHalfEven((1.0 - fy) * c10 + fy * c11);
        out[k] = fx * b + (1.0 - fx) * a;
    }
    return out;
}

Hsv rgb_to_hsv(int c0, int c1, int c2) {
    const double r = c0 / 255.0, g = c1 / 255.0, b = c2 / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    Hsv out;
    out.v = mx;
    out.s = mx != 0 ? (mx - mn) / mx : 0;
    if (out.s != 0) {
        const double d = mx - mn;
        const double rc = (mx - r) / d, gc = (mx - g) / d, bc = (mx - b) / d;
        double h;
        if (r == mx)
            h = bc - gc;
        else if (g == mx)
            h = 2 + rc - bc;
        else
            h = 4 + gc - rc;
        h *= 60;
        if (h < 0) h += 360;
        out.h = h;
    }
    out.s *= 100;
    out.v *= 100;
    return out;
}

Rgb hsv_to_rgb(double h, double s, double v) {
    const float sf = static_cast<float>(s / 100), vf = static_cast<float>(v / 100);
    float r, g, b;
    if (s == 0) {
        r = g = b = vf;
    } else {
        float hh = static_cast<float>(h / 60);
        if (hh == 6) hh = 0;
        const int i = static_cast<int>(std::floor(hh));
        const float f = hh - i;
        const float p = vf * (1 - sf), q = vf * (1 - sf * f), t = vf * (1 - sf * (1 - f));
        switch (i) {
            case 0:
                r = vf, g = t, b = p;
                break;
            case 1:
                r = q, g = vf, b = p;
                break;
            case 2:
                r = p, g = vf, b = t;
                break;
            case 3:
                r = p, g = q, b = vf;
                break;
            case 4:
                r = t, g = p, b = vf;
                break;
            default:
                r = vf, g = p, b = q;
                break;
        }
    }
    // The factor is 255.9999 so that 1.0 maps to 255 and the 256 steps are equally wide.
    auto to8 = [](float c) { return static_cast<int>(std::floor(c * 255.9999)); };
    return {to8(r), to8(g), to8(b)};
}

}  // namespace ms
