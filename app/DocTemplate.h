#pragma once
// The settings document type: which files are ours (".zms", in any case) and what opening a
// file that is already open does. An unmodified open document is simply activated; a modified
// one is left as it is and the file is loaded from disk into a second window, so the operator
// can compare the stored conditions with the edited ones.

#include <QString>

#include <vector>

namespace zeb {

class CZebM40SettingsDoc;

class CMyDocTemplate {
public:
    static constexpr const char* kExtension = ".zms";
    // Title part of the main window and the document type's name.
    static constexpr const char* kFrameTitle = "ZEB-M40_ZEB-M50";
    static constexpr const char* kFileFilter = "ZEB Setting Files (*.zms)";

    enum Confidence {
        kNoAttempt,         // not a file of ours
        kYesAttemptNative,  // ours; load it into a new document
        kYesAlreadyOpen,    // ours and open unmodified: activate `match`
    };

    // How a file at `path` is to be opened given the open documents.
    static Confidence MatchDocType(const QString& path,
                                   const std::vector<CZebM40SettingsDoc*>& open,
                                   CZebM40SettingsDoc*& match);

    // True when two paths name the same file (absolute, cleaned, links resolved when they
    // exist).
    static bool SamePath(const QString& a, const QString& b);
    // `path` with ".zms" appended when it does not already end in it (any case).
    static QString WithExtension(const QString& path);
};

}  // namespace zeb
