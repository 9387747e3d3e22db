#include "persistence/FrmDKWJ.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTreeView>

#include "platform/PictureFile.h"

namespace ms {

namespace {

// The studio's caption font; the shell's captionFont lives in a library above this one.
QFont dialogFont(int pixelSize) {
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(pixelSize);
    return f;
}

QString cleanFolder(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

bool readableFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

// A volume on a disk or a network share. Kernel and memory file systems (proc, sysfs, tmpfs,
// overlay, ...) name no device path, and squashfs images are read-only software packages.
bool realVolume(const QStorageInfo& v) {
    if (!v.isValid() || !v.isReady()) return false;
    if (v.fileSystemType() == "squashfs") return false;
    const QString device = QString::fromLocal8Bit(v.device());
    return device.startsWith(QLatin1Char('/')) || device.contains(QStringLiteral(":/"));
}

// The picture files people have, matched whatever the case of their extension.
const QStringList kPicturePatterns{QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
                                   QStringLiteral("*.png"), QStringLiteral("*.webp")};

}  // namespace

// The files of the listed folder. QFileSystemModel keeps showing a folder that once lay on the way
// to its root path, whatever its filter says; such folders are left out here.
class FileListFilter : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setFolder(const QModelIndex& sourceFolder) {
        folder_ = sourceFolder;
        invalidateFilter();
    }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (parent != folder_) return true;
        const auto* files = static_cast<const QFileSystemModel*>(sourceModel());
        return !files->isDir(files->index(row, 0, parent));
    }

  private:
    QPersistentModelIndex folder_;
};

QStringList picturePlaces() {
    QStringList places;
    const auto add = [&places](const QString& path) {
        if (path.isEmpty()) return;
        const QString folder = cleanFolder(path);
        if (QFileInfo(folder).isDir() && !places.contains(folder)) places << folder;
    };
    add(QDir::homePath());
    add(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    add(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (realVolume(v)) add(v.rootPath());
    add(QStringLiteral("/"));
    return places;
}

FrmDKWJ::FrmDKWJ(const QString& startFolder, QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("FrmDKWJ"));
    setWindowTitle(QStringLiteral("调出新照片"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(260, 545);
    setFont(dialogFont(12));
    buildControls();
    fillPlaces();

    QString start = cleanFolder(startFolder);
    if (startFolder.isEmpty() || !readableFolder(start)) start = cleanFolder(QDir::homePath());
    // A start folder that is none of the places leaves the places list blank.
    placeIndex_ = Drive1_->findData(start);
    Drive1_->setCurrentIndex(placeIndex_);
    showPlace(start);
}

void FrmDKWJ::buildControls() {
    // The panel goes first so that every other control lies above it.
    Label1_ = new QLabel(this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setGeometry(23, 23, 212, 497);
    Label1_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    Label1_->setAutoFillBackground(true);
    Label1_->setBackgroundRole(QPalette::AlternateBase);

    yuxian_ = new QLabel(this);
    yuxian_->setObjectName(QStringLiteral("yuxian"));
    yuxian_->setGeometry(82, 48, 94, 119);
    yuxian_->setFrameStyle(QFrame::Box | QFrame::Plain);
    yuxian_->setAutoFillBackground(true);
    yuxian_->setBackgroundRole(QPalette::Base);
    yuxian_->setAlignment(Qt::AlignCenter);
    yuxian_->setWordWrap(true);
    yuxian_->setFont(dialogFont(11));

    Drive1_ = new QComboBox(this);
    Drive1_->setObjectName(QStringLiteral("Drive1"));
    Drive1_->setGeometry(56, 188, 150, 20);
    connect(Drive1_, &QComboBox::activated, this, &FrmDKWJ::onPlaceActivated);

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    Dir1_ = new QTreeView(this);
    Dir1_->setObjectName(QStringLiteral("Dir1"));
    Dir1_->setGeometry(56, 216, 150, 90);
    Dir1_->setModel(folders_);
    Dir1_->setHeaderHidden(true);
    for (int column = 1; column < folders_->columnCount(); ++column) Dir1_->hideColumn(column);
    Dir1_->setIndentation(12);
    Dir1_->setUniformRowHeights(true);
    Dir1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Dir1_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(Dir1_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FrmDKWJ::onFolderSelected);

    files_ = new QFileSystemModel(this);
    files_->setFilter(QDir::Files | QDir::NoDotAndDotDot);
    files_->setNameFilters(kPicturePatterns);
    files_->setNameFilterDisables(false);  // other files are left out, not greyed
    fileList_ = new FileListFilter(this);
    fileList_->setSourceModel(files_);
    File1_ = new QListView(this);
    File1_->setObjectName(QStringLiteral("File1"));
    File1_->setGeometry(55, 309, 151, 114);
    File1_->setModel(fileList_);
    File1_->setUniformItemSizes(true);
    File1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    File1_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(File1_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &FrmDKWJ::onFileSelected);
    connect(File1_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) return;
        chooseFile(files_->fileName(fileList_->mapToSource(index)));
        takeChosen();
    });

    Command2_ = new QPushButton(QStringLiteral("调入"), this);
    Command2_->setObjectName(QStringLiteral("Command2"));
    Command2_->setGeometry(137, 441, 66, 23);
    connect(Command2_, &QPushButton::clicked, this, &FrmDKWJ::takeChosen);

    Command3_ = new QPushButton(QStringLiteral("关闭"), this);
    Command3_->setObjectName(QStringLiteral("Command3"));
    Command3_->setGeometry(139, 475, 65, 25);
    connect(Command3_, &QPushButton::clicked, this, &QWidget::close);

    // Kept for its place in the window; opening the dialog hides it and it takes no photo.
    Command1_ = new QPushButton(QStringLiteral("确定"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setGeometry(56, 472, 65, 26);
    Command1_->hide();
}

void FrmDKWJ::fillPlaces() {
    for (const QString& place : picturePlaces()) Drive1_->addItem(QDir::toNativeSeparators(place), place);
    // Long paths are shown whole in the open list, which may be wider than the box.
    Drive1_->view()->setMinimumWidth(Drive1_->view()->sizeHintForColumn(0) + 24);
}

void FrmDKWJ::onPlaceActivated(int index) {
    const QString place = Drive1_->itemData(index).toString();
    if (!readableFolder(place)) {
        // A volume gone or closed to the user: the lists stay on what they showed.
        Drive1_->setCurrentIndex(placeIndex_);
        return;
    }
    placeIndex_ = index;
    showPlace(place);
}

void FrmDKWJ::showPlace(const QString& place) {
    Dir1_->selectionModel()->clear();
    Dir1_->setRootIndex(folders_->setRootPath(place));
    folder_.clear();  // the place is listed afresh, even when it is the folder listed already
    showFolder(place);
}

void FrmDKWJ::showFolder(const QString& folder) {
    if (folder == folder_) return;
    folder_ = folder;
    File1_->selectionModel()->clear();
    const QModelIndex listed = files_->setRootPath(folder);
    fileList_->setFolder(listed);
    File1_->setRootIndex(fileList_->mapFromSource(listed));
    clearChoice();
}

void FrmDKWJ::onFolderSelected() {
    const QModelIndexList selected = Dir1_->selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) showFolder(folders_->filePath(selected.first()));
}

void FrmDKWJ::onFileSelected() {
    const QModelIndexList selected = File1_->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        clearChoice();
    else
        chooseFile(files_->fileName(fileList_->mapToSource(selected.first())));
}

void FrmDKWJ::chooseFile(const QString& name) {
    chosen_ = QDir(folder_).filePath(name);
    QImage picture;
    if (const Status st = loadPicture(chosen_, PicturePurpose::Preview, picture); !st) {
        // The path can still be taken; the caller then reports the problem in full.
        yuxian_->setText(st.message);
        yuxian_->setToolTip(st.message);
        return;
    }
    const QSize box = yuxian_->contentsRect().size();
    yuxian_->setPixmap(
        QPixmap::fromImage(picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    yuxian_->setToolTip(name);
}

void FrmDKWJ::clearChoice() {
    chosen_.clear();
    yuxian_->clear();
    yuxian_->setToolTip(QString());
}

void FrmDKWJ::takeChosen() {
    if (chosen_.isEmpty()) return;
    // The receiver may close or delete this window itself.
    const QPointer<FrmDKWJ> self(this);
    const QString path = chosen_;
    emit photoChosen(path);
    if (self) close();
}

}  // namespace ms
