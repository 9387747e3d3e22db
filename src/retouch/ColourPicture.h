#pragma once
#include <QImage>
#include <QLabel>
#include <optional>
#include <utility>

class QBoxLayout;

namespace ms {

// The colour chart or the colour palette: reports the colour under the pointer as it moves and
// when a button is released over it (none when released off the picture).
class ColourPicture : public QLabel {
    Q_OBJECT
  public:
    ColourPicture(const QImage& picture, QSize size, QWidget* parent = nullptr);

  signals:
    void hovered(int32_t colour);
    void released(Qt::MouseButton button, std::optional<int32_t> colour);

  protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    QImage picture_;
};

// The colour chart or palette below the program folder; null when it cannot be read or has
// another size.
QImage colourPicture(const QString& programFolder, const char* file, QSize size);
// The captioned colour chart ("色标卡", Picture1) and palette ("调色盘", Picture2) of a window.
std::pair<ColourPicture*, ColourPicture*> addColourPictures(QBoxLayout* layout, const QString& programFolder,
                                                            QWidget* parent);
// A small framed swatch, and the colour value it shows.
QLabel* swatch(QWidget* parent, const char* name);
void showColour(QLabel* swatch, int32_t colour);

}  // namespace ms
