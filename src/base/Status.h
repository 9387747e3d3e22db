#pragma once
#include <QString>
#include <QStringList>
#include <utility>

namespace ms {

// What kind of failure a Status reports, for callers and tests that act on it; the message says
// the same to the user.
enum class StatusCode {
    Ok,
    NotFound,     // a file, section, record or default that is not there
    Damaged,      // present but unreadable: truncated, corrupt, a value that does not convert
    Refused,      // input that is not allowed: bad names, sizes, a missing slot number
    WriteFailed,  // a write that did not reach the disk: full, read-only, not writable
    Unavailable,  // a service that is missing or not open (database driver, database)
    Partial,      // done, except for the parts the message names
};

// Result of an operation that can fail; message is user-facing Chinese text.
struct [[nodiscard]] Status {
    StatusCode code = StatusCode::Ok;
    QString message;

    static Status success() { return {}; }
    static Status failure(StatusCode code, QString msg) { return {code, std::move(msg)}; }
    static Status notFound(QString msg) { return {StatusCode::NotFound, std::move(msg)}; }
    static Status damaged(QString msg) { return {StatusCode::Damaged, std::move(msg)}; }
    static Status refused(QString msg) { return {StatusCode::Refused, std::move(msg)}; }
    static Status writeFailed(QString msg) { return {StatusCode::WriteFailed, std::move(msg)}; }
    static Status unavailable(QString msg) { return {StatusCode::Unavailable, std::move(msg)}; }
    static Status partial(QString msg) { return {StatusCode::Partial, std::move(msg)}; }

    bool ok() const { return code == StatusCode::Ok; }
    explicit operator bool() const { return ok(); }
    // The same failure with a caller's explanation in front of the message.
    Status prefixed(const QString& context) const { return ok() ? *this : Status{code, context + message}; }
};

// Lets a repeated problem through once: the same failure again is success until a step works.
class TellOnce {
  public:
    Status pass(const Status& st) {
        if (st.ok()) {
            told_.clear();
            return st;
        }
        if (st.message == told_) return Status::success();
        told_ = st.message;
        return st;
    }

  private:
    QString told_;
};

// Collects the failures of an operation that goes on after a failing step.
class Problems {
  public:
    void add(const Status& st) {
        if (st.ok()) return;
        if (messages_.isEmpty()) first_ = st.code;
        messages_ << st.message;
    }
    // Success, or the first failure's code with every message, one a line.
    Status status() const {
        return messages_.isEmpty() ? Status::success()
                                   : Status::failure(first_, messages_.join(QLatin1Char('\n')));
    }

  private:
    StatusCode first_ = StatusCode::Ok;
    QStringList messages_;
};

}  // namespace ms
