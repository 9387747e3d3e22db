#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cstdio>
#include <random>

#include "BenchStudio.h"
#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "platform/FileLookup.h"

namespace ms::bench {

void check(const Status& st) {
    if (!st) std::fprintf(stderr, "set-up failed: %s\n", qPrintable(st.message));
}

void dress(StudioState& s) {
    check(initialiseStudio(s, studioFolder()));
    check(CHUSHI_MOBAN(s));
    for (Kind k : componentKinds()) {
        const QString folder = kindInfo(k).folder();
        for (const QString& name : listMatching(s.path(folder), QStringLiteral("*")))
            if (!name.startsWith(QLatin1String("000"))) {
                s.doc.design.*kindInfo(k).file = s.path(folder + QLatin1Char('/') + name);
                break;
            }
    }
    check(huaban_hecheng2(s));
}

QImage photoLike(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient backdrop(0, 0, w, h);
        backdrop.setColorAt(0, QColor(60, 100, 150));
        backdrop.setColorAt(1, QColor(210, 220, 235));
        p.fillRect(img.rect(), backdrop);
        p.setPen(Qt::NoPen);
        QRadialGradient hair(w * 0.5, h * 0.4, h * 0.4);
        hair.setColorAt(0, QColor(95, 60, 35));
        hair.setColorAt(1, QColor(25, 15, 10));
        p.setBrush(hair);
        p.drawEllipse(QPointF(w * 0.5, h * 0.42), h * 0.3, h * 0.36);
        QRadialGradient skin(w * 0.47, h * 0.45, h * 0.28);
        skin.setColorAt(0, QColor(245, 205, 180));
        skin.setColorAt(1, QColor(185, 135, 110));
        p.setBrush(skin);
        p.drawEllipse(QPointF(w * 0.5, h * 0.48), h * 0.19, h * 0.26);
        QLinearGradient cloth(0, h * 0.75, 0, h);
        cloth.setColorAt(0, QColor(150, 30, 60));
        cloth.setColorAt(1, QColor(70, 10, 25));
        p.setBrush(cloth);
        p.drawRoundedRect(QRectF(w * 0.2, h * 0.76, w * 0.6, h * 0.3), h * 0.1, h * 0.1);
    }
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> grain(-8, 8);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            uint32_t pixel = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const int c = std::clamp(static_cast<int>(row[x] >> shift & 0xFF) + grain(rng), 0, 255);
                pixel |= static_cast<uint32_t>(c) << shift;
            }
            row[x] = pixel;
        }
    }
    return img;
}

}  // namespace ms::bench
