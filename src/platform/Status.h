#pragma once
#include <QString>
namespace ms {
// Result of an operation that can fail; message is user-facing Chinese text.
struct Status {
    bool ok = true;
    QString message;
    static Status success() { return {}; }
    static Status failure(QString msg) { return {false, std::move(msg)}; }
    explicit operator bool() const { return ok; }
};
}  // namespace ms
