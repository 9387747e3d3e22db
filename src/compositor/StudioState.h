#pragma once
#include <QString>

#include "compositor/Document.h"
#include "compositor/Session.h"

namespace ms {

// The shared state of one run: created before the main window, outliving every window, and
// passed by reference to everything that reads or changes the design.
struct StudioState {
    QString P;  // program folder, no trailing separator
    Document doc;
    Session session;

    QString path(const QString& relative) const { return P + QLatin1Char('/') + relative; }
};

}  // namespace ms
