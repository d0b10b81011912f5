#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class FileChooser;
class QSettings;

// Where the import and export dialogs of profiles and macros start, and the
// file an export suggests. Pure functions apart from startFolder().
namespace ExportFile {

// desktop when it names an existing folder, else home. A suggested path in a
// folder that does not exist would make a dialog take the folder's name for
// the file's.
QString startFolder(const QString& desktop, const QString& home);
// The user's desktop folder when it exists, else the home folder.
QString startFolder();

// folder + "/" + a file name made of name and extension (".pf"): characters
// no file name should hold ("/", "\", control and format characters, line
// and paragraph separators) become "_", surrounding spaces and leading dots
// go (no hidden file), and the whole name keeps to 255 bytes of UTF-8. A name
// with nothing left gives fallback + extension.
QString suggestedPath(const QString& folder, const QString& name, const QString& fallback, const QString& extension);

} // namespace ExportFile

// The settings stores of the view: the global file apConfig.bin, the factory
// profile pD.bin and the ten profiles p1.bin..p10.bin, opened once, in that
// order, relative to the working directory. Opening never creates a file; a
// missing file reads as empty.
//
// Profile numbers are 0-based: profile n is p<n+1>.bin. The data operations
// use currentProfile; when it is outside 0..9 they do nothing (reads give
// their default) and say so on the debug output.
//
// Replacing a profile never loses it: the new content is complete on disk
// before the old file goes, and a failed copy keeps the old file and store.
//
// Every change is written back at once. A change that could not be saved
// (full disk, read-only file or folder) leaves the file and the store as they
// were; the write operations then return false, and those that stand for a
// view operation without a result also report the file through saveFailed.
// GUI thread only.
class ProfileStore
{
public:
    static constexpr int profileCount = 10;

    ProfileStore();
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    static QString profilePath(int profile);

    QSettings& global() const { return *m_global; }
    QSettings& factory() const { return *m_factory; }
    // The store of profile n, or nullptr outside 0..9.
    QSettings* profile(int n) const;

    int currentProfile = 0;

    // Called with the file's name when an operation without a result of its
    // own (the setters, resetApconfig, saveProfile, resetProfile,
    // copyProfile) could not save; unset, only the debug line tells.
    std::function<void(const QString& file)> saveFailed;
    // Called with the chosen file's name when saveProfile wrote it.
    std::function<void(const QString& file)> exported;

    QVariant getData(const QVariant& key, bool isRecovery) const;
    // The old list meaning: a plain string (a stored one-element list) and
    // an absent key give an empty list.
    QVariantList getDataList(const QVariant& key, bool isRecovery) const;
    bool setData(const QVariant& key, const QVariant& data);
    bool setDataList(const QVariant& key, const QVariantList& list);
    QVariant getGlobalData(const QVariant& key) const;
    bool setGlobalData(const QVariant& key, const QVariant& data);
    QVariant getXYSensitive(const QVariant& index) const; // default 4
    bool setXYSensitive(const QVariant& index, const QVariant& value);
    QVariant getSelectGun(const QVariant& index) const; // default ""
    bool setSelectGun(const QVariant& index, const QVariant& value);

    // apConfig.bin from its factory copy; a missing copy keeps the file.
    bool resetApconfig();

    // Profile n's file and store become a copy of source. False (and nothing
    // changed) when n is out of range or the copy could not be made.
    bool replaceProfile(int n, const QString& source);
    // Imports a chosen file over the profile. True only when a file was
    // chosen and copied in. A file larger than maxImportBytes, or one that is
    // not the INI text of a profile (no mouse group), is refused.
    bool loadProfile(int profile, FileChooser& chooser);
    // Suggests the profile's name from the profile list of name.bin (see
    // exportName) in ExportFile::startFolder(). False when a chosen target
    // could not be written; true on cancel.
    bool saveProfile(int profile, FileChooser& chooser);
    // The name the profile list gives the profile: its entries are a name
    // followed by the profile's slot digit ("Standard0"). Empty when no entry
    // ends in the digit of profile (or profile is not 0..9).
    static QString exportName(const QVariantList& profileNames, int profile);
    bool resetProfile(int profile);
    bool copyProfile(int destination, int source);

    static constexpr qint64 maxImportBytes = 1024 * 1024;

private:
    QSettings* current(const char* operation) const;
    bool write(QSettings* store, const QString& key, const QVariant& value);
    void report(const QString& file) const;

    std::unique_ptr<QSettings> m_global;
    std::unique_ptr<QSettings> m_factory;
    QList<QSettings*> m_profiles; // owned
};
