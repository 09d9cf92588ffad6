#pragma once
// The attribute window ("属性"): shows one file or folder of an attribute run with its icon, name, type,
// location, size, short name, three times and four attribute boxes, and lets the user change the
// read-only and hidden attributes and the modification and access times. "全部都" applies the settings to
// the shown item and every later item of the run; "全部不" ends the run.
#include "properties/engine/AttributeApply.h"
#include "properties/engine/ItemInfo.h"
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QDateTimeEdit;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class TfrmAttribute : public QDialog {
    Q_OBJECT
public:
    // The window's results (the cancel button and closing the window give mrCancel or 0).
    enum Result { mrOk = 1, mrCancel = 2, mrNoToAll = 9, mrYesToAll = 10 };

    explicit TfrmAttribute(QWidget* parent = nullptr);

    // Fills the controls with one item.
    void showItem(const properties::ItemInfo& item);
    // The settings the controls hold now.
    properties::AttributeSettings settings() const;

    // The run's paths and the index of the shown item, where "全部都" starts.
    QStringList RunPaths;
    int RunIndex = 0;
    // After "全部都": whether any item changed.
    bool RunChanged = false;

    // Handlers.
    void Label7DblClick();
    void Label4DblClick();
    void Label8DblClick();
    void CreateTimeDblClick();
    void WriteTimeDblClick();
    void accessTime1DblClick();
    void DateTimePicker1Change();
    void DateTimePicker2Change();
    void DateTimePicker3Change();
    void DateTimePickerChange();                 // Button3 "填写"
    bool accessTime1KeyPress(QKeyEvent* event);  // true when the key is swallowed
    void Image1DblClick();
    void FileNameMouseMove();
    void FilePathMouseMove();
    void yallClick();

    // The save dialog's filters and default extension.
    static const QString kIconFilter;
    static const QString kIconExtension;
    // Tooltip of the creation time, which Linux cannot set.
    static QString creationNotSettableText();

    QLabel* Image1 = nullptr;
    QLabel* FileName = nullptr;
    QLabel *Label5{}, *FileType{};        // "类型:"
    QLabel *Label3{}, *FilePath{};        // "位置:"
    QLabel *Label6{}, *FileSize{};        // "大小:"
    QLabel *Label9{}, *DosName{};         // "MS-DOS 名称:"
    QLabel* Label7 = nullptr;             // "创建时间:"
    QLabel* Label4 = nullptr;             // "修改时间:"
    QLabel* Label8 = nullptr;             // "访问时间:"
    QLineEdit *CreateTime{}, *WriteTime{}, *accessTime1{};
    QDateTimeEdit *DateTimePicker1{}, *DateTimePicker2{}, *DateTimePicker3{};
    QCheckBox *CheckBox1{}, *CheckBox2{}, *CheckBox3{};
    QLabel* Label1 = nullptr;             // "属性："
    QCheckBox *ReadOnly{}, *Archive{}, *System{}, *Hidden{};
    QPushButton* Button3 = nullptr;       // "填写"
    QPushButton *ok{}, *cel{};            // "确定", "取消"
    QPushButton *yall{}, *noall{};        // "全部都", "全部不"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // A time label was double-clicked: show its picker, or switch a shown one between date and time.
    void labelDblClick(QDateTimeEdit* picker, QLineEdit* edit);
    void showPicker(QDateTimeEdit* picker);
    void pickerChanged(QDateTimeEdit* picker, QLineEdit* edit);
    void setPickerTimeMode(QDateTimeEdit* picker, bool time);
    void saveIcon(const QString& fileName);

    QString m_iconKey;
    bool m_iconIsDir = false;
};
