#pragma once
#include <QString>

namespace installdata {

// Creates P/dova.mdb with the suitability record of every library hairstyle; "" or the problem.
QString writeHairstyleDatabase(const QString& programFolder);

}  // namespace installdata
