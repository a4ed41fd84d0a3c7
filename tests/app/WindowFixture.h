#pragma once

#include "RecordingPresenter.h"
#include "app/MirelMain.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace mirel::test {

// A window on its own web folder, with boxes and browser starts recorded. The sites
// point at a closed local port, so the ad strip shows an error page at once.
class WindowFixture : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    std::unique_ptr<TMirelMain> makeWindow(const QString &webFolder)
    {
        ShellServices services;
        services.presenter = presenter;
        services.launcher.open = [this](const QString &address) {
            starts.push_back(QStringList{address});
            return true;
        };
        return std::make_unique<TMirelMain>(Sites::local(1), webFolder, std::move(services));
    }

    QString webFolder() const { return dir.path() + QStringLiteral("/Web/"); }

    QTemporaryDir dir;
    std::shared_ptr<RecordingPresenter> presenter = std::make_shared<RecordingPresenter>();
    std::vector<QStringList> starts;
};

} // namespace mirel::test
