#pragma once
#include "platform/posix/InotifyHub.h"
#include <QFlags>
#include <QtGlobal>

// Special folders that can be roots or targets of the folder tree; the values are the platform's
// special-folder ids. PIDL_USERDEFINED stands for the tree's user-defined root item.
enum TPidls : int {
    PIDL_DESKTOP = 0,
    PIDL_PROGRAMS = 2,
    PIDL_CONTROLS = 3,
    PIDL_PRINTERS = 4,
    PIDL_PERSONAL = 5,
    PIDL_FAVORITES = 6,
    PIDL_STARTUP = 7,
    PIDL_RECENT = 8,
    PIDL_SENDTO = 9,
    PIDL_BITBUCKET = 10,
    PIDL_STARTMENU = 11,
    PIDL_DESKTOPDIRECTORY = 16,
    PIDL_DRIVES = 17,
    PIDL_NETWORK = 18,
    PIDL_NETHOOD = 19,
    PIDL_FONTS = 20,
    PIDL_TEMPLATES = 21,
    PIDL_USERDEFINED = -1,
};

// What the tree lists.
enum TVisOption : quint32 { TF_FOLDERS = 1, TF_NONFOLDERS = 2, TF_HIDDEN = 4 };
Q_DECLARE_FLAGS(TVisOptions, TVisOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TVisOptions)

enum TFileSortType { so_Name = 0, so_Size = 1, so_Type = 2, so_Date = 3 };
enum TFileSortOrder { so_Ascending = 0, so_Descending = 1 };
enum TPopupMenuMode { pmm_System = 0, pmm_PopupMenu = 1 };

// Shell attribute flags of a tree item.
namespace sfgao {
inline constexpr quint32 CANCOPY = 0x00000001;
inline constexpr quint32 CANMOVE = 0x00000002;
inline constexpr quint32 CANLINK = 0x00000004;
inline constexpr quint32 CANRENAME = 0x00000010;
inline constexpr quint32 CANDELETE = 0x00000020;
inline constexpr quint32 HASPROPSHEET = 0x00000040;
inline constexpr quint32 DROPTARGET = 0x00000100;
inline constexpr quint32 LINK = 0x00010000;
inline constexpr quint32 SHARE = 0x00020000;
inline constexpr quint32 READONLY = 0x00040000;
inline constexpr quint32 REMOVABLE = 0x02000000;
inline constexpr quint32 COMPRESSED = 0x04000000;
inline constexpr quint32 FILESYSANCESTOR = 0x10000000;
inline constexpr quint32 FOLDER = 0x20000000;
inline constexpr quint32 FILESYSTEM = 0x40000000;
inline constexpr quint32 HASSUBFOLDER = 0x80000000;
// The mask the tree asks attributes with.
inline constexpr quint32 kTreeMask = 0xF60B0177;
} // namespace sfgao

// Notify filter bits of the change monitors: the inotify hub's.
namespace notify {
inline constexpr quint32 FILE_NAME = plat::InotifyHub::FileNames;
inline constexpr quint32 DIR_NAME = plat::InotifyHub::FolderNames;
inline constexpr quint32 ATTRIBUTES = plat::InotifyHub::Attributes;
} // namespace notify
