#pragma once

#include <QString>

// Where every file of the program lies. Portable (one folder holds the program, its shipped data and
// the user's files, as the build folder does) or installed (shipped data read-only under share/, the
// user's files in the per-user data folder). Folders end with '/'.
class TAppPaths {
public:
    // Decides from the executable's folder; needs a QCoreApplication.
    static TAppPaths Detect();
    // The same decision for a given executable folder; userRoot is used only in installed mode.
    static TAppPaths DetectFor(const QString& exeDir, const QString& userRoot);
    // Everything in one folder.
    static TAppPaths ForFolder(const QString& appPath);
    // Shipped tree and user tree apart; the packs lie in <shippedRoot>/../../lib/komorebi/.
    static TAppPaths ForInstall(const QString& shippedRoot, const QString& userRoot);

    bool IsPortable() const { return fPortable; }

    // Root of the shipped tree: what the engine takes as its application folder.
    const QString& AppPath() const { return fShipped; }
    // Root of the user's writable tree (the same as AppPath when portable).
    const QString& UserPath() const { return fUser; }
    // Folder holding lib<name>pack.so.
    const QString& PackFolder() const { return fPacks; }

    QString SettingsFile() const { return fUser + QStringLiteral("settings/settings.ini"); }
    // The sender of the address side, UTF-8 text of its own: settings.ini is CP932 and loses names.
    QString SenderFile() const { return fUser + QStringLiteral("settings/sender.txt"); }
    // The family's own days that calendars mark, UTF-8 (CP932 is read too).
    QString FamilyDaysFile() const { return fUser + QStringLiteral("settings/familydays.txt"); }
    QString MessageFile() const { return fShipped + QStringLiteral("settings/outmessage.txt"); }
    QString StartImageFile() const { return fShipped + QStringLiteral("settings/stImage.ims"); }
    // The user's paper data once it has been saved, else the shipped one.
    QString CardDataFile() const;
    QString UserCardDataFile() const { return fUser + QStringLiteral("settings/carddata.cdd"); }
    QString TemplateFolder() const { return fShipped + QStringLiteral("Template/"); }
    // 0 A4, 1 A5, 2 Hagaki, 3 L, 4 Meishi; empty for any other kind.
    QString TemplateKindFolder(int kind) const;
    static constexpr int TemplateKindCount = 5;
    QString UserDataFolder() const { return fUser + QStringLiteral("UserData/"); }
    QString TempFolder() const { return fUser + QStringLiteral("temp/"); }
    QString RecordFolder() const { return fUser + QStringLiteral("recordfile/"); }
    QString FieldFolder() const { return fUser + QStringLiteral("fieldfile/"); }
    QString HolidayFile() const { return fShipped + QStringLiteral("HolidayList/holiday.dat"); }
    QString SozaiFolder() const { return fShipped + QStringLiteral("sozai/"); }

    // Makes the user's folders that are missing. When installed, the user's record and field folders
    // get a copy of each shipped example once: later versions' new examples arrive beside the user's
    // files, and an example the user changed or deleted is left as the user left it.
    bool EnsureUserTree(QString* error = nullptr) const;

    // True when the file lies in the shipped template tree, seen through symlinks and "..".
    bool IsUnderShippedTemplates(const QString& file) const;

private:
    TAppPaths() = default;

    QString fShipped;
    QString fUser;
    QString fPacks;
    bool fPortable = true;
};
