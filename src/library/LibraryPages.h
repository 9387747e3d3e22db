#pragma once
#include <QString>
#include <QStringList>

namespace ms {

// The library listing of one library window and its paging: pages of `perPage` thumbnails (6 in the
// component library window, 8 in the hairstyle window). The listing has no length limit.
class LibraryPages {
  public:
    explicit LibraryPages(int perPage) : perPage_(perPage) {}

    // Full paths of the files matching "folder + pattern", ascending by character codes.
    static QStringList buildListing(const QString& folderAndPattern);

    // Takes a new listing and shows its first page (tk_paixu). Page number, page text and
    // "上一页" stay as they are: a freshly opened window or restart() has set them.
    void setListing(const QStringList& sortedEntries);
    // Back to page 1 with "上一页" disabled, as a tab click does before it lists again.
    void restart();
    // "下一页" and "上一页"; ignored while the button is disabled.
    void next();
    void previous();

    int perPage() const { return perPage_; }
    int count() const { return static_cast<int>(entries_.size()); }
    int offset() const { return offset_; }
    int pageNumber() const { return pageNumber_; }
    bool previousEnabled() const { return previousEnabled_; }
    bool nextEnabled() const { return nextEnabled_; }
    // Thumbnails the shown page draws: perPage on a full page, the partial count on the last one.
    int shownCount() const { return fullPage_ ? perPage_ : partial_; }
    // Listing entry shown by thumbnail i of this page; "" when the thumbnail is disabled.
    QString entry(int i) const;

    QString pageText() const;   // Label4: "第1页"
    QString countText() const;  // Label3: "共N页", "共00页" before the first listing

  private:
    void showLastPage(int partial);

    int perPage_;
    QStringList entries_;
    bool listed_ = false;
    int offset_ = 0;
    int pageNumber_ = 1;
    int partial_ = 0;
    bool fullPage_ = false;
    bool previousEnabled_ = false;
    bool nextEnabled_ = true;
};

}  // namespace ms
