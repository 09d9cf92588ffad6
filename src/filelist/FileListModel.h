#pragma once
#include "filelist/engine/FileLister.h"
#include <QAbstractItemModel>
#include <QIcon>

// Table model over the lister's rows: column 0 the caption with its icon, column c the sub-item c-1.
class FileListModel : public QAbstractItemModel, public filelist::ListObserver {
    Q_OBJECT
public:
    explicit FileListModel(filelist::FileLister& lister, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static QStringList fileColumnCaptions();
    static QStringList driveColumnCaptions();

Q_SIGNALS:
    void listStarted();
    void listFinished();
    void columnSetChanged();
    void sortIndicatorChanged();

private:
    void listingStarted() override;   // ListObserver
    void rowsAboutToReset() override;
    void rowsReset() override;
    void rowsAboutToBeRemoved(int first, int last) override;
    void rowsRemoved() override;
    void rowsAboutToBeAppended(int first, int last) override;
    void rowsAppended() override;
    void rowsAboutToBeSorted() override;
    void rowsSorted(const std::vector<int>& newPosition) override;
    void sortStateChanged() override;
    void listingFinished() override;

    filelist::FileLister& m_lister;
    QIcon m_parentIcon;
};
