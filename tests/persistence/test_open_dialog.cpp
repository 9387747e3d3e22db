#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "persistence/FrmDKWJ.h"
#include "support/AppEnvironment.h"

using namespace ms;

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    test::addApplication<QApplication>("test_persistence_ui");

template <typename T>
T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void writePicture(const QString& path, QSize size, const char* format) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(180, 120, 90));
    ASSERT_TRUE(picture.save(path, format)) << path.toStdString();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The names File1 shows, sorted.
QStringList listed(FrmDKWJ* d) {
    auto* view = d->findChild<QListView*>(QStringLiteral("File1"));
    const QAbstractItemModel* model = view->model();
    QStringList names;
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row)
        names << model->index(row, 0, view->rootIndex()).data().toString();
    names.sort();
    return names;
}

// The folder model loads in the background: waits until File1 shows exactly these names.
bool showsFiles(FrmDKWJ* d, QStringList names) {
    names.sort();
    return QTest::qWaitFor([&] { return listed(d) == names; });
}

QPoint rowCentre(QAbstractItemView* view, const QModelIndex& index) {
    view->scrollTo(index);
    const QRect r = view->visualRect(index);
    EXPECT_FALSE(r.isEmpty());
    return r.center();
}

QModelIndex fileIndex(FrmDKWJ* d, const QString& name) {
    auto* view = d->findChild<QListView*>(QStringLiteral("File1"));
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
        const QModelIndex index = model->index(row, 0, view->rootIndex());
        if (index.data().toString() == name) return index;
    }
    ADD_FAILURE() << "not listed: " << name.toStdString();
    return {};
}

void clickFile(FrmDKWJ* d, const QString& name) {
    auto* view = child<QListView>(d, "File1");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(view, fileIndex(d, name)));
}

// What the places popup does: shows the entry, then reports it chosen.
void choosePlace(FrmDKWJ* d, const QString& place) {
    auto* places = child<QComboBox>(d, "Drive1");
    const int i = places->findData(place);
    ASSERT_GE(i, 0) << place.toStdString();
    places->setCurrentIndex(i);
    emit places->activated(i);
}

// A home folder of its own: places and start folders do not depend on the machine.
class OpenDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        home = QDir::cleanPath(root_.path());
        pictures = home + "/Pictures";
        ASSERT_TRUE(QDir().mkpath(pictures + "/trip"));
        savedHome_ = qgetenv("HOME");
        configSet_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        savedConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home));
        qunsetenv("XDG_CONFIG_HOME");

        writePicture(pictures + "/a.bmp", {40, 30}, "BMP");
        writePicture(pictures + "/PHOTO.JPG", {200, 100}, "JPEG");
        writePicture(pictures + "/tall.PNG", {60, 120}, "PNG");
        writePicture(pictures + "/scan.Jpeg", {16, 16}, "JPEG");
        writeFile(pictures + "/broken.jpg", "\xFF\xD8\xFF not really a picture");
        writeFile(pictures + "/notes.txt", "words");
        writeFile(pictures + "/clip.gif", "GIF89a");
        writeFile(pictures + "/photo.jpg.txt", "words");
        writeFile(pictures + "/bmp", "words");
        writePicture(pictures + "/trip/beach.jpg", {30, 20}, "JPEG");
    }
    void TearDown() override {
        owner.reset();
        qputenv("HOME", savedHome_);
        if (configSet_) qputenv("XDG_CONFIG_HOME", savedConfig_);
    }

    // Opens the dialog on a folder and waits for its files.
    FrmDKWJ* open(const QString& folder, const QStringList& files) {
        auto* d = new FrmDKWJ(folder, owner.get());
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d));
        EXPECT_TRUE(showsFiles(d, files)) << listed(d).join(' ').toStdString();
        return d;
    }

    const QStringList kPictures{"PHOTO.JPG", "a.bmp", "broken.jpg", "scan.Jpeg", "tall.PNG"};
    QString home, pictures;
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();

  private:
    QTemporaryDir root_;
    QByteArray savedHome_, savedConfig_;
    bool configSet_ = false;
};

}  // namespace

TEST_F(OpenDialog, ListsExactlyThePicturesOfTheStartFolder) {
    FrmDKWJ* d = open(pictures, kPictures);
    EXPECT_EQ(d->windowTitle(), "调出新照片");
    EXPECT_TRUE(d->isWindow());
    EXPECT_EQ(d->parentWidget(), owner.get());
    EXPECT_EQ(d->folder(), pictures);
    EXPECT_EQ(child<QComboBox>(d, "Drive1")->currentData().toString(), pictures);
    EXPECT_TRUE(d->chosenFile().isEmpty());
    EXPECT_FALSE(child<QPushButton>(d, "Command1")->isVisible());
    EXPECT_TRUE(child<QPushButton>(d, "Command2")->isVisible());
    EXPECT_TRUE(child<QLabel>(d, "yuxian")->pixmap().isNull());
}

TEST_F(OpenDialog, WebpPhotosAreListedAndPreviewed) {
    if (!QImageReader::supportedImageFormats().contains("webp")) GTEST_SKIP() << "no webp image plugin";
    writePicture(pictures + "/holiday.WEBP", {80, 40}, "WEBP");
    FrmDKWJ* d = open(pictures, kPictures + QStringList{"holiday.WEBP"});
    clickFile(d, "holiday.WEBP");
    const QPixmap shown = child<QLabel>(d, "yuxian")->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_NEAR(shown.width(), 2 * shown.height(), 1);
}

TEST_F(OpenDialog, PreviewShowsTheClickedPictureInItsShapeOrSaysWhyNot) {
    FrmDKWJ* d = open(pictures, kPictures);
    auto* preview = child<QLabel>(d, "yuxian");
    const QSize box = preview->contentsRect().size();

    clickFile(d, "PHOTO.JPG");
    EXPECT_EQ(d->chosenFile(), pictures + "/PHOTO.JPG");
    QPixmap shown = preview->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.width(), box.width());
    EXPECT_NEAR(shown.height(), box.width() / 2, 1);

    // A small picture is enlarged to the box as well.
    clickFile(d, "tall.PNG");
    shown = preview->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.height(), box.height());
    EXPECT_NEAR(shown.width(), box.height() / 2, 1);

    clickFile(d, "broken.jpg");
    EXPECT_TRUE(preview->pixmap().isNull());
    EXPECT_TRUE(preview->text().contains("broken.jpg")) << preview->text().toStdString();

    // The caller reports a broken picture; the dialog still hands it on.
    QSignalSpy chosen(d, &FrmDKWJ::photoChosen);
    QTest::mouseClick(child<QPushButton>(d, "Command2"), Qt::LeftButton);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), pictures + "/broken.jpg");
}

TEST_F(OpenDialog, TakeAndCloseButtonsAndDoubleClick) {
    {
        // "调入" with no file chosen does nothing; with one it hands the path on once and closes.
        const QPointer<FrmDKWJ> d = open(pictures, kPictures);
        QSignalSpy chosen(d.get(), &FrmDKWJ::photoChosen);
        auto* take = child<QPushButton>(d, "Command2");
        QTest::mouseClick(take, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_EQ(chosen.count(), 0);
        ASSERT_FALSE(d.isNull());
        EXPECT_TRUE(d->isVisible());

        clickFile(d, "a.bmp");
        QTest::mouseClick(take, Qt::LeftButton);
        ASSERT_EQ(chosen.count(), 1);
        EXPECT_EQ(chosen.at(0).at(0).toString(), pictures + "/a.bmp");
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.isNull(); }));
    }
    {
        const QPointer<FrmDKWJ> d = open(pictures, kPictures);
        QSignalSpy chosen(d.get(), &FrmDKWJ::photoChosen);
        clickFile(d, "a.bmp");
        QTest::mouseClick(child<QPushButton>(d, "Command3"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.isNull(); }));
        EXPECT_EQ(chosen.count(), 0);
    }
    {
        const QPointer<FrmDKWJ> d = open(pictures, kPictures);
        QSignalSpy chosen(d.get(), &FrmDKWJ::photoChosen);
        auto* view = child<QListView>(d, "File1");
        // A double click arrives as a click, then a press followed by the double click itself.
        const QPoint at = rowCentre(view, fileIndex(d, "tall.PNG"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
        ASSERT_EQ(chosen.count(), 1);
        EXPECT_EQ(chosen.at(0).at(0).toString(), pictures + "/tall.PNG");
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.isNull(); }));
    }
}

TEST_F(OpenDialog, PlacesAndFolders) {
    ASSERT_TRUE(QDir().mkpath(home + "/Desktop"));
    writePicture(home + "/portrait.png", {20, 20}, "PNG");

    const QStringList places = picturePlaces();
    for (const QString& place : {home, pictures, home + "/Desktop", QStringLiteral("/")})
        EXPECT_TRUE(places.contains(place)) << place.toStdString();
    EXPECT_EQ(QSet<QString>(places.begin(), places.end()).size(), places.size());
    for (const QString& place : places) EXPECT_TRUE(QFileInfo(place).isDir()) << place.toStdString();

    // A start folder that is gone opens the home folder instead.
    FrmDKWJ* fallback = open(home + "/gone", {"portrait.png"});
    EXPECT_EQ(fallback->folder(), home);
    EXPECT_EQ(child<QComboBox>(fallback, "Drive1")->currentData().toString(), home);

    // A start folder that is none of the places leaves the places list blank.
    FrmDKWJ* d = open(pictures + "/trip", {"beach.jpg"});
    auto* placeBox = child<QComboBox>(d, "Drive1");
    EXPECT_EQ(placeBox->currentIndex(), -1);
    EXPECT_EQ(placeBox->count(), places.size());

    choosePlace(d, home);
    EXPECT_EQ(d->folder(), home);
    EXPECT_TRUE(showsFiles(d, {"portrait.png"}));
    auto* tree = child<QTreeView>(d, "Dir1");
    auto* folders = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_NE(folders, nullptr);
    EXPECT_EQ(folders->filePath(tree->rootIndex()), home);

    // Only folders are in the tree; choosing one lists its pictures.
    ASSERT_TRUE(QTest::qWaitFor([&] { return folders->rowCount(tree->rootIndex()) == 2; }));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rowCentre(tree, folders->index(pictures)));
    EXPECT_EQ(d->folder(), pictures);
    EXPECT_TRUE(showsFiles(d, kPictures));
    clickFile(d, "a.bmp");
    EXPECT_EQ(d->chosenFile(), pictures + "/a.bmp");

    // A place that has gone since the dialog opened is passed over.
    ASSERT_TRUE(QDir(home + "/Desktop").removeRecursively());
    choosePlace(d, home + "/Desktop");
    EXPECT_EQ(placeBox->currentData().toString(), home);
    EXPECT_EQ(folders->filePath(tree->rootIndex()), home);
    EXPECT_EQ(d->folder(), pictures);
    EXPECT_EQ(d->chosenFile(), pictures + "/a.bmp");
    EXPECT_EQ(listed(d), QStringList(kPictures));

    // Choosing a place again starts over from it.
    choosePlace(d, pictures);
    EXPECT_EQ(folders->filePath(tree->rootIndex()), pictures);
    EXPECT_TRUE(d->chosenFile().isEmpty());
    EXPECT_TRUE(showsFiles(d, kPictures));
}
