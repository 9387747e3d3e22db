#pragma once
#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListView;
class QPushButton;
class QTreeView;

namespace ms {

class FileListFilter;

// The places the open-picture dialog offers, each once: the home folder, Pictures and Desktop where
// they exist, every mounted volume on a real device, and "/" last.
QStringList picturePlaces();

// The open-picture dialog for a new client photo: a list of places (Drive1), a folder tree (Dir1),
// the picture files of the chosen folder (File1) and a preview of the clicked file (yuxian).
// "调入" or a double click hands the chosen file's path on and closes the window; the caller resets
// the design and takes the photo in. A separate, modeless window owned by the main window, deleted
// when closed.
class FrmDKWJ : public QWidget {
    Q_OBJECT
  public:
    // Opens on startFolder (the user's Pictures folder or home); the places list shows it when it is
    // one of them.
    FrmDKWJ(const QString& startFolder, QWidget* owner);

    // The folder whose pictures File1 lists.
    QString folder() const { return folder_; }
    // The absolute path of the clicked file; empty while none is chosen.
    QString chosenFile() const { return chosen_; }

  signals:
    void photoChosen(const QString& path);

  private:
    void buildControls();
    void fillPlaces();
    void onPlaceActivated(int index);
    void showPlace(const QString& place);
    void showFolder(const QString& folder);
    void onFolderSelected();
    void onFileSelected();
    void chooseFile(const QString& name);
    void clearChoice();
    void takeChosen();

    QFileSystemModel* folders_ = nullptr;
    QFileSystemModel* files_ = nullptr;
    FileListFilter* fileList_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLabel* yuxian_ = nullptr;
    QComboBox* Drive1_ = nullptr;
    QTreeView* Dir1_ = nullptr;
    QListView* File1_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QPushButton* Command3_ = nullptr;
    int placeIndex_ = -1;  // the entry of Drive1 that Dir1 shows; -1: the start folder, no place
    QString folder_;
    QString chosen_;
};

}  // namespace ms
