#pragma once

class QFileDialog;
class QWidget;

// Backup and restore of the books ("&Datensicherung", "Daten &Wiederherstellen").

// Saves a checked copy of the open books to a file the user chooses.
void SaveSave(QWidget *parent = nullptr);

// Replaces the books by a backup the user chooses, after checking that it is a
// sound Vela database; the books before are kept beside them as "<books>.bak".
void SaveRestore(QWidget *parent = nullptr);

// Without `store` prepares `dialog` with the folder used last ('Save/Directory'),
// the suffix and the filters; with `store` remembers the folder of the chosen file.
void SaveDirParam(QFileDialog &dialog, bool store);
