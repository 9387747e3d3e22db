#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <numbers>
#include <vector>

// Drawing helpers shared by every family of installation pictures.
namespace installdata {

using Polyline = std::vector<QPointF>;

inline constexpr double kPi = std::numbers::pi;

// Deterministic generator (splitmix64): the same seed gives the same pictures on every run.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint64_t next();
    double uniform();  // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    double symmetric(double amplitude) { return amplitude * (2.0 * uniform() - 1.0); }

  private:
    uint64_t state_;
};

// A transparent premultiplied layer; painting on premultiplied pixels is exact and fast.
QImage newLayer(int w, int h);
// Starts a painter with antialiasing, as every picture here wants it.
void beginPainter(QPainter& p, QImage& image);

QColor mix(const QColor& a, const QColor& b, double t);
QColor withAlpha(QColor c, int alpha);
QPointF lerp(QPointF a, QPointF b, double t);
// The direction d turned by a radians (clockwise on the canvas, whose y runs down).
QPointF turned(QPointF d, double a);
double smoothstep(double e0, double e1, double x);
// A Gaussian bump: 1 at 0, 1/e at w; and its axis-aligned form in two dimensions.
double gauss(double x, double w);
double gauss(double dx, double dy, double rx, double ry);

// Catmull-Rom curve through the control points, u in [0, 1] over the whole curve.
QPointF splineAt(const Polyline& controls, double u);
Polyline sampleSpline(const Polyline& controls, int count);
Polyline mirrored(const Polyline& line, double axisX);
// The unit normal of a polyline at point i, from its neighbours (one-sided at the ends).
QPointF normalAt(const Polyline& line, size_t i);
QPainterPath pathThrough(const Polyline& line, bool close);

// Fills a tapered ribbon along a polyline: width goes from w0 to w1, and also grows from zero over
// the first taperIn fraction (and shrinks over the last taperOut fraction) of the points.
void fillRibbon(QPainter& p, const Polyline& line, double w0, double w1, const QColor& c,
                double taperIn = 0.0, double taperOut = 0.0);

// Smooth value noise in [0, 1] on a unit lattice, from integer hashing: the same on every run.
double valueNoise(double x, double y, uint32_t seed);
// Sum of `octaves` octaves of value noise, each twice as fine and half as strong; in [0, 1].
double fractalNoise(double x, double y, uint32_t seed, int octaves);

// Three box passes each way: close to a gaussian of the same radius, in exact integer arithmetic.
void blurLayer(QImage& layer, int radius);
// Blurs the layer and draws it at the offset with the composition mode and opacity; the painter's
// own mode and opacity are kept.
void drawBlurred(QPainter& p, QImage layer, int radius, QPainter::CompositionMode mode, QPointF at = {},
                 double opacity = 1.0);
// A layer's soft cast shadow on what is already drawn (SourceAtop): its alpha in black at `alpha`,
// blurred at half size (a blur at full size costs four times as much), drawn at `topLeft`.
void drawHalfSizeShadow(QPainter& p, const QImage& layer, QPointF topLeft, int alpha);
// Draws into a scratch layer of the target's size, blurs it, then composites it with the opacity.
void paintSoft(QPainter& target, const QSize& size, int radius, double opacity,
               const std::function<void(QPainter&)>& draw);
// A radial spot fading from the colour at the centre to transparent at the ellipse edge.
void softEllipse(QPainter& p, QPointF centre, double rx, double ry, const QColor& colour);
// A sphere-like bead: body gradient, rim shade and a small specular highlight.
void drawBead(QPainter& p, QPointF centre, double r, const QColor& body);

// Runs job(i) for every i in [0, n) on all cores; the jobs must not share mutable state.
void parallelFor(int n, const std::function<void(int)>& job);

// Collects the written files of one run and the first failures, for the exit status.
class Writer {
  public:
    explicit Writer(QString root) : root_(std::move(root)) {}
    const QString& root() const { return root_; }
    // Writes a layer as a component file; relative path like "faxing/dz001.tta".
    void component(const QImage& layer, const QString& relPath, uint8_t imageType = 6);
    void emptyComponent(int w, int h, const QString& relPath, uint8_t imageType = 6);
    void picture(const QImage& image, const QString& relPath, const char* format);
    void makeFolder(const QString& relPath);
    void fail(const QString& message) { failures_ << message; }
    const QStringList& failures() const { return failures_; }
    int written() const { return static_cast<int>(paths_.size()); }
    // After a whole run: removes the files an earlier run listed in the folder's manifest but this
    // run did not write (items since renamed or dropped), then lists this run's files. Files the
    // generator never wrote, such as a stylist's own, are left alone.
    void replaceManifest();

  private:
    void wrote(const QString& relPath, bool ok, const QString& failure);

    QString root_;
    QStringList failures_;
    QStringList paths_;
};

// "dz" + 1 -> "dz001.tta".
QString componentName(const QString& code, int index);

}  // namespace installdata
