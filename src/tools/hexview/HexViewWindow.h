#pragma once
// The hex viewer window Thexf ("十六进制查看文件"): one file in the hex grid HexEditor1, which fills the
// window. It has no commands of its own; edits stay in the grid's working file and are discarded when the
// window closes, which frees it.
#include <QWidget>

class THexEditor;

class Thexf : public QWidget {
    Q_OBJECT
public:
    static const QString kCaption;   // "十六进制查看文件"

    // A window of the main window `owner` (may be null): on top, centred on the desktop, freed when closed.
    explicit Thexf(QWidget* owner = nullptr);

    // Loads `path` into the grid and shows it in the caption and the hint.
    void showFile(const QString& path);

    THexEditor* HexEditor1 = nullptr;
};
