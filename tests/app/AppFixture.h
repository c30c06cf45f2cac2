#pragma once
// A program under test: a private configuration folder, lock folder and recent-file store,
// simulators on pseudo-terminals where an instrument is wanted, and the application object
// started without showing its windows.

#include <QTemporaryDir>

#include <memory>

#include "../e2e/SimFixture.h"
#include "ScriptedMessageSink.h"
#include "TempConfigHome.h"
#include "ZebM40App.h"

namespace zeb::test {

class AppFixture : public SimFixture {
protected:
    // An application whose machine selection answers `selection` (with model `chosen`).
    std::unique_ptr<CZebM40App> MakeApp(int selection = 1, quint32 chosen = 5,
                                        const QString& file = QString()) {
        AppEnvironment env;
        env.lockFolder = dir.path();
        env.recentFilesPath = dir.filePath(QStringLiteral("recent.ini"));
        env.openingMs = 0;
        env.showWindows = false;
        env.select = [this, selection, chosen](quint32& type) {
            ++selections;
            type = chosen;
            return selection;
        };
        AppOptions options;
        options.file = file;
        return std::make_unique<CZebM40App>(options, env);
    }

    TempConfigHome home;
    QTemporaryDir dir;
    ScriptedMessageSink sink;
    int selections = 0;
};

}  // namespace zeb::test
