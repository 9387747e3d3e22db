#include "Draw.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "imaging/GridImage.h"
#include "platform/ComponentFile.h"
#include "platform/SafeFile.h"

namespace installdata {

uint64_t Rng::next() {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

QImage newLayer(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void beginPainter(QPainter& p, QImage& image) {
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QColor mix(const QColor& a, const QColor& b, double t) {
    auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()),
                  m(a.alpha(), b.alpha()));
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(std::clamp(alpha, 0, 255));
    return c;
}

QPointF lerp(QPointF a, QPointF b, double t) { return a + (b - a) * t; }

QPointF turned(QPointF d, double a) {
    return {d.x() * std::cos(a) - d.y() * std::sin(a), d.x() * std::sin(a) + d.y() * std::cos(a)};
}

double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

double gauss(double x, double w) { return std::exp(-(x * x) / (w * w)); }

double gauss(double dx, double dy, double rx, double ry) {
    return std::exp(-(dx * dx) / (rx * rx) - (dy * dy) / (ry * ry));
}

QPointF splineAt(const Polyline& c, double u) {
    const int n = static_cast<int>(c.size());
    if (n == 1) return c[0];
    const double f = std::clamp(u, 0.0, 1.0) * (n - 1);
    const int i = std::min(static_cast<int>(f), n - 2);
    const double t = f - i;
    const QPointF p0 = c[std::max(i - 1, 0)], p1 = c[i], p2 = c[i + 1], p3 = c[std::min(i + 2, n - 1)];
    const double t2 = t * t, t3 = t2 * t;
    return 0.5 * ((2.0 * p1) + (-p0 + p2) * t + (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * t2 +
                  (-p0 + 3.0 * p1 - 3.0 * p2 + p3) * t3);
}

Polyline sampleSpline(const Polyline& controls, int count) {
    Polyline out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) out.push_back(splineAt(controls, static_cast<double>(i) / (count - 1)));
    return out;
}

Polyline mirrored(const Polyline& line, double axisX) {
    Polyline out = line;
    for (QPointF& q : out) q.setX(2.0 * axisX - q.x());
    return out;
}

QPainterPath pathThrough(const Polyline& line, bool close) {
    QPainterPath path;
    if (line.empty()) return path;
    path.moveTo(line[0]);
    for (size_t i = 1; i < line.size(); ++i) path.lineTo(line[i]);
    if (close) path.closeSubpath();
    return path;
}

void fillRibbon(QPainter& p, const Polyline& line, double w0, double w1, const QColor& c, double taperIn,
                double taperOut) {
    const int n = static_cast<int>(line.size());
    if (n < 2) return;
    std::vector<QPointF> left(n), right(n);
    for (int i = 0; i < n; ++i) {
        const QPointF d = line[std::min(i + 1, n - 1)] - line[std::max(i - 1, 0)];
        const double len = std::hypot(d.x(), d.y());
        const QPointF nrm = len > 1e-9 ? QPointF(-d.y() / len, d.x() / len) : QPointF(0, 0);
        const double s = static_cast<double>(i) / (n - 1);
        double w = w0 + (w1 - w0) * s;
        if (taperIn > 0) w *= std::min(1.0, s / taperIn);
        if (taperOut > 0) w *= std::min(1.0, (1.0 - s) / taperOut);
        left[i] = line[i] + nrm * (0.5 * w);
        right[i] = line[i] - nrm * (0.5 * w);
    }
    QPolygonF poly;
    poly.reserve(2 * n);
    for (int i = 0; i < n; ++i) poly << left[i];
    for (int i = n - 1; i >= 0; --i) poly << right[i];
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(poly, Qt::WindingFill);
}

namespace {

double latticeValue(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h =
        static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return (h & 0xFFFFFFu) / 16777215.0;
}

// The box passes work on premultiplied ARGB words, edge pixels clamp. A pass only changes pixels
// within its radius of a non-transparent one, so each works inside a bounding box of those: most
// layers are the whole canvas with a small drawing on them.
struct Span {
    int x0, y0, x1, y1;  // inclusive; a superset of the non-transparent pixels
};

bool opaqueSpan(const std::vector<uint32_t>& px, int w, int h, Span& s) {
    s = {w, h, -1, -1};
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = px.data() + static_cast<size_t>(y) * w;
        int first = 0;
        while (first < w && row[first] == 0) ++first;
        if (first == w) continue;
        int last = w - 1;
        while (row[last] == 0) --last;
        s = {std::min(s.x0, first), std::min(s.y0, y), std::max(s.x1, last), y};
    }
    return s.x1 >= 0;
}

inline void addWord(int* sum, uint32_t v) {
    for (int ch = 0; ch < 4; ++ch) sum[ch] += static_cast<int>(v >> (8 * ch) & 0xFF);
}

inline void slideWord(int* sum, uint32_t in, uint32_t out) {
    for (int ch = 0; ch < 4; ++ch)
        sum[ch] += static_cast<int>(in >> (8 * ch) & 0xFF) - static_cast<int>(out >> (8 * ch) & 0xFF);
}

// Rounded sum / div per channel. Division is by multiplying with 2^40 / div rounded up, which is
// exact for every sum a window of bytes can reach (sum < 256 * div, div < 2^16).
struct Mean {
    explicit Mean(int div) : half(div / 2), mul((uint64_t{1} << 40) / static_cast<uint64_t>(div) + 1) {}
    uint32_t operator()(const int* sum) const {
        uint32_t v = 0;
        for (int ch = 0; ch < 4; ++ch)
            v |= static_cast<uint32_t>(static_cast<uint64_t>(sum[ch] + half) * mul >> 40) << (8 * ch);
        return v;
    }
    int half;
    uint64_t mul;
};

// Along the rows of the span, widening it by r.
void rowPass(std::vector<uint32_t>& px, int w, int r, Span& s) {
    const int a = std::max(0, s.x0 - r), b = std::min(w - 1, s.x1 + r);
    const Mean mean(2 * r + 1);
    std::vector<uint32_t> src(w);
    for (int y = s.y0; y <= s.y1; ++y) {
        uint32_t* row = px.data() + static_cast<size_t>(y) * w;
        std::copy_n(row, w, src.data());
        int sum[4] = {0, 0, 0, 0};
        for (int k = a - r; k <= a + r; ++k) addWord(sum, src[std::clamp(k, 0, w - 1)]);
        for (int i = a; i <= b; ++i) {
            row[i] = mean(sum);
            slideWord(sum, src[std::min(i + r + 1, w - 1)], src[std::max(i - r, 0)]);
        }
    }
    s.x0 = a;
    s.x1 = b;
}

// Down the columns of the span, a row at a time so that memory is read in order; widens it by r.
void columnPass(std::vector<uint32_t>& px, int w, int h, int r, Span& s) {
    const int a = std::max(0, s.y0 - r), b = std::min(h - 1, s.y1 + r);
    const Mean mean(2 * r + 1);
    const int cols = s.x1 - s.x0 + 1;
    // The source rows the windows read: clamped indices stay within [a - r, b + r] and the image.
    const int top = std::max(0, a - r), bottom = std::min(h - 1, b + r + 1);
    std::vector<uint32_t> src(static_cast<size_t>(bottom - top + 1) * cols);
    for (int y = top; y <= bottom; ++y)
        std::copy_n(px.data() + static_cast<size_t>(y) * w + s.x0, cols,
                    src.data() + static_cast<size_t>(y - top) * cols);
    const auto srcRow = [&](int y) {
        return src.data() + static_cast<size_t>(std::clamp(y, 0, h - 1) - top) * cols;
    };
    std::vector<int> sum(static_cast<size_t>(cols) * 4, 0);
    for (int k = a - r; k <= a + r; ++k) {
        const uint32_t* row = srcRow(k);
        for (int x = 0; x < cols; ++x) addWord(&sum[4 * static_cast<size_t>(x)], row[x]);
    }
    for (int y = a; y <= b; ++y) {
        uint32_t* out = px.data() + static_cast<size_t>(y) * w + s.x0;
        const uint32_t *in = srcRow(y + r + 1), *old = srcRow(y - r);
        for (int x = 0; x < cols; ++x) {
            int* cell = &sum[4 * static_cast<size_t>(x)];
            out[x] = mean(cell);
            slideWord(cell, in[x], old[x]);
        }
    }
    s.y0 = a;
    s.y1 = b;
}

}  // namespace

double valueNoise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double a = latticeValue(ix, iy, seed), b = latticeValue(ix + 1, iy, seed);
    const double c = latticeValue(ix, iy + 1, seed), d = latticeValue(ix + 1, iy + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double fractalNoise(double x, double y, uint32_t seed, int octaves) {
    double sum = 0, weight = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * valueNoise(x, y, seed + 977u * static_cast<uint32_t>(o));
        total += weight;
        x *= 2.03;
        y *= 2.03;
        weight *= 0.5;
    }
    return sum / total;
}

QPointF normalAt(const Polyline& line, size_t i) {
    const QPointF d = line[std::min(i + 1, line.size() - 1)] - line[i > 0 ? i - 1 : 0];
    const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
    return QPointF(-d.y() / len, d.x() / len);
}

void blurLayer(QImage& layer, int radius) {
    if (radius <= 0) return;
    if (layer.format() != QImage::Format_ARGB32_Premultiplied)
        layer = layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = layer.width(), h = layer.height();
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const uint32_t*>(layer.constScanLine(y)), w,
                    px.data() + static_cast<size_t>(y) * w);
    const int r = std::max(1, radius / 2);
    Span span{};
    if (!opaqueSpan(px, w, h, span)) return;
    for (int pass = 0; pass < 3; ++pass) {
        rowPass(px, w, r, span);
        columnPass(px, w, h, r, span);
    }
    for (int y = 0; y < h; ++y)
        std::copy_n(px.data() + static_cast<size_t>(y) * w, w,
                    reinterpret_cast<uint32_t*>(layer.scanLine(y)));
}

void drawBlurred(QPainter& p, QImage layer, int radius, QPainter::CompositionMode mode, QPointF at,
                 double opacity) {
    blurLayer(layer, radius);
    p.save();
    p.setCompositionMode(mode);
    p.setOpacity(opacity);
    p.drawImage(at, layer);
    p.restore();
}

void drawHalfSizeShadow(QPainter& p, const QImage& layer, QPointF topLeft, int alpha) {
    QImage shadow = layer.scaled(layer.width() / 2 + 1, layer.height() / 2 + 1, Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
    {
        QPainter sp;
        beginPainter(sp, shadow);
        sp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        sp.fillRect(shadow.rect(), QColor(0, 0, 0, alpha));
    }
    blurLayer(shadow, 2);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(topLeft, QSizeF(2.0 * shadow.width(), 2.0 * shadow.height())), shadow);
    p.restore();
}

void paintSoft(QPainter& target, const QSize& size, int radius, double opacity,
               const std::function<void(QPainter&)>& draw) {
    QImage layer = newLayer(size.width(), size.height());
    QPainter p;
    beginPainter(p, layer);
    draw(p);
    p.end();
    blurLayer(layer, radius);
    target.save();
    target.setOpacity(opacity);
    target.drawImage(0, 0, layer);
    target.restore();
}

void softEllipse(QPainter& p, QPointF centre, double rx, double ry, const QColor& colour) {
    p.save();
    p.translate(centre);
    p.scale(1.0, ry / rx);
    QRadialGradient g(QPointF(0, 0), rx);
    g.setColorAt(0.0, colour);
    g.setColorAt(0.5, withAlpha(colour, colour.alpha() * 6 / 10));
    g.setColorAt(1.0, withAlpha(colour, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), rx, rx);
    p.restore();
}

void drawBead(QPainter& p, QPointF c, double r, const QColor& body) {
    QRadialGradient g(c + QPointF(-0.35 * r, -0.4 * r), 1.4 * r);
    g.setColorAt(0.0, body.lighter(135));
    g.setColorAt(0.55, body);
    g.setColorAt(1.0, body.darker(190));
    p.setPen(QPen(withAlpha(body.darker(260), 150), std::max(0.4, r * 0.12)));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawEllipse(c + QPointF(-0.35 * r, -0.4 * r), 0.28 * r, 0.22 * r);
}

void parallelFor(int n, const std::function<void(int)>& job) {
    const int workers = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, std::max(1, n));
    std::atomic<int> next{0};
    auto run = [&] {
        for (int i = next++; i < n; i = next++) job(i);
    };
    std::vector<std::thread> pool;
    for (int k = 1; k < workers; ++k) pool.emplace_back(run);
    run();
    for (std::thread& t : pool) t.join();
}

void Writer::wrote(const QString& relPath, bool ok, const QString& failure) {
    if (ok)
        paths_ << relPath;
    else
        failures_ << failure;
}

void Writer::component(const QImage& layer, const QString& relPath, uint8_t imageType) {
    const ms::Status st = ms::writeComponentFile(root_ + '/' + relPath, ms::gridFromImage(layer), imageType);
    wrote(relPath, static_cast<bool>(st), st.message);
}

void Writer::emptyComponent(int w, int h, const QString& relPath, uint8_t imageType) {
    const ms::Status st = ms::writeComponentFile(root_ + '/' + relPath, ms::PixelGrid(w, h, 0), imageType);
    wrote(relPath, static_cast<bool>(st), st.message);
}

void Writer::picture(const QImage& image, const QString& relPath, const char* format) {
    const ms::Status st = ms::replaceFile(
        root_ + '/' + relPath, [&](QIODevice& d) { return QImageWriter(&d, format).write(image); });
    wrote(relPath, static_cast<bool>(st), QStringLiteral("无法写入图片：%1（%2）").arg(relPath, st.message));
}

void Writer::replaceManifest() {
    const QString manifest = root_ + QStringLiteral("/.install-data-files");
    QStringList now = paths_;
    now.sort();
    now.removeDuplicates();
    QFile old(manifest);
    if (old.open(QIODevice::ReadOnly)) {
        const QDir root(root_);
        for (const QByteArray& line : old.readAll().split('\n')) {
            const QString rel = QString::fromUtf8(line).trimmed();
            // Only plain paths inside the folder: a damaged list must not reach other files.
            const QString clean = QDir::cleanPath(rel);
            if (rel.isEmpty() || clean != rel || QDir::isAbsolutePath(rel) ||
                rel.startsWith(QLatin1String("..")) || std::binary_search(now.begin(), now.end(), rel))
                continue;
            if (QFileInfo(root.filePath(rel)).isFile()) QFile::remove(root.filePath(rel));
        }
    }
    const ms::Status st =
        ms::replaceFile(manifest, (now.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    if (!st) failures_ << st.message;
}

void Writer::makeFolder(const QString& relPath) {
    if (!QDir().mkpath(root_ + '/' + relPath)) failures_ << QStringLiteral("无法创建文件夹：%1").arg(relPath);
}

QString componentName(const QString& code, int index) {
    return code + QStringLiteral("%1.tta").arg(index, 3, 10, QLatin1Char('0'));
}

}  // namespace installdata
