#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace md::test {

/// Runs a test under a German locale, where the C library's conversions take ',' as the decimal
/// point, as a Qt application does once it has started in such an environment. When the system
/// has no de_DE.UTF-8, it is compiled once per user into a folder under the temporary folder
/// (LOCPATH), which needs the "locales" package's sources but no root rights.
class CommaDecimalLocale : public ::testing::Test
{
protected:
    static constexpr const char* kLocale = "de_DE.UTF-8";

    void SetUp() override
    {
        m_previous = std::setlocale(LC_ALL, nullptr);
        if (const char* path = std::getenv("LOCPATH"))
            m_previousLocPath = path;
        if (!std::setlocale(LC_ALL, kLocale)) {
            ::setenv("LOCPATH", Compiled().c_str(), 1);
            ASSERT_TRUE(std::setlocale(LC_ALL, kLocale))
                << "no " << kLocale << " locale and none could be compiled with localedef; "
                << "scripts/install-deps.sh installs the locales package it needs";
        }
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }

    void TearDown() override
    {
        std::setlocale(LC_ALL, m_previous.c_str());
        if (m_previousLocPath.empty())
            ::unsetenv("LOCPATH");
        else
            ::setenv("LOCPATH", m_previousLocPath.c_str(), 1);
    }

private:
    /// The folder holding the compiled locale; compiled into a folder of this process's own and
    /// renamed into place, so tests running at the same time never see half of it.
    static std::filesystem::path Compiled()
    {
        const auto root =
            std::filesystem::temp_directory_path() / ("md-locales-" + std::to_string(::getuid()));
        if (std::filesystem::exists(root / kLocale))
            return root;
        const auto mine = root.string() + ".building-" + std::to_string(::getpid());
        std::filesystem::create_directories(mine);
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + mine + "/" + kLocale + "' >/dev/null 2>&1";
        std::error_code ec;
        // localedef may report warnings in its status and still write the locale.
        if (std::system(command.c_str()) != -1 &&
            std::filesystem::exists(std::filesystem::path(mine) / kLocale / "LC_NUMERIC"))
            std::filesystem::rename(mine, root, ec);
        std::filesystem::remove_all(mine, ec);
        return root;
    }

    std::string m_previous;
    std::string m_previousLocPath;
};

} // namespace md::test
