#pragma once
// Every setting the program reads or writes, and every key of the class
// registry it touches. Callers name settings only through this catalogue.

namespace settings {

inline constexpr char kCompanyKey[] = "Quillmoor";

inline constexpr char kConfig[] = "Config";
inline constexpr char kStats[] = "Stats";

struct NumberSetting {
    const char* section;
    const char* entry;
    int whenAbsent;
};

struct TextSetting {
    const char* section;
    const char* entry;
};

// Offer the Explorer verb "Add to RootCaster!" on directories.
inline constexpr NumberSetting kAddToRootCaster{kConfig, "AddToRootCaster", 1};
// Put an "Open" item into every menu level.
inline constexpr NumberSetting kAddOpen{kConfig, "AddOpen", 1};
// Put an "MS-DOS Prompt" item into every menu level.
inline constexpr NumberSetting kAddDOSPrompt{kConfig, "AddDOSPrompt", 0};
// The most entries the tray's search index holds: no further folder is read
// once it holds this many, so that a menu of a whole disk is not indexed by
// accident.
inline constexpr NumberSetting kSearchLimit{kConfig, "SearchLimit", 250000};
// How many runs of the program have ended.
inline constexpr NumberSetting kTimes{kStats, "Times", 0};

// Icon files chosen for the two item buttons of the main dialog.
inline constexpr TextSetting kOpenIcon{kConfig, "OpenIcon"};
inline constexpr TextSetting kDOSIcon{kConfig, "DOSIcon"};
// The document the "Help" button opens; put there by the installer.
inline constexpr TextSetting kHelpFile{kConfig, "HelpFile"};

// Class registry, below one of the places of ClassRegistry.h.
// The folder-menu shell extension's installation record, in the key of its
// menu root's class (ClassRegistry.h's ExtensionClassKey).
inline constexpr char kInstallDirValue[] = "InstallDir";
// The Explorer verb on directories.
inline constexpr char kVerbKey[] = "Directory\\Shell\\RootCaster";
inline constexpr char kVerbCommandKey[] = "Directory\\Shell\\RootCaster\\Command";
inline constexpr char kVerbMenuText[] = "Add to RootCaster!";
// The HTML association.
inline constexpr char kHtmlExtensionKey[] = ".htm";
inline constexpr char kOpenCommandSuffix[] = "\\shell\\open\\command";

}  // namespace settings
