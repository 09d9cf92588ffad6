#pragma once
#include <QString>

// The two status-bar texts that describe the active list.
namespace app {

struct ListFigures {
    int itemCount = 0;          // rows shown, ".." and drives included
    int selectedNumber = 0;     // selected rows, or the row count when none is selected
    qint64 selectedSize = 0;    // bytes
    qint64 freeKB = 0;          // free space of the list's drive
    qint64 folderTotal = 0;     // bytes of the files in the folder
    bool hasSelection = false;
    bool listTwo = false;       // list two writes the free space without a leading zero
};

QString statusPanel0(const ListFigures& f);
QString statusPanel1(const ListFigures& f);

} // namespace app
