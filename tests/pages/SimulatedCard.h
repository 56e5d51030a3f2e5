// The simulated card library (libtavl3.so of this build) loaded into the
// test, with a world of its own in a temporary folder and a journal of its
// calls: page tests check what reached the card through the journal.
#pragma once

#include "device/CardLibraryLoader.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

class SimulatedCard {
public:
    // `networks`: the world file's [network] sections.
    explicit SimulatedCard(const std::string& networks) {
        std::string pattern = (std::filesystem::temp_directory_path() / "skerrin-sim-XXXXXX");
        dir_ = mkdtemp(pattern.data());
        std::filesystem::create_directory(dir_ + "/home");
        setenv("TAVL_SIM_HOME", (dir_ + "/home").c_str(), 1);
        setenv("TAVL_SIM_JOURNAL", (dir_ + "/journal").c_str(), 1);
        std::ofstream(dir_ + "/home/world.ini") << "[card]\npresent=1\nscan_time_ms=0\n"
                                                << networks;
        std::string error;
        library = LoadCardLibrary(SKERRIN_BIN_DIR "/libtavl3.so", error);
        EXPECT_TRUE(error.empty()) << error;
    }
    ~SimulatedCard() {
        library.reset();
        unsetenv("TAVL_SIM_JOURNAL");
        unsetenv("TAVL_SIM_HOME");
        std::filesystem::remove_all(dir_);
    }
    SimulatedCard(const SimulatedCard&) = delete;
    SimulatedCard& operator=(const SimulatedCard&) = delete;

    // Journal lines naming `call` ("TAVL_SetSSID"), sequence numbers cut.
    QStringList Journal(const QString& call = {}) const {
        std::ifstream in(dir_ + "/journal");
        std::stringstream text;
        text << in.rdbuf();
        QStringList lines;
        for (QString line : QString::fromStdString(text.str()).split('\n', Qt::SkipEmptyParts)) {
            line.remove(QRegularExpression(QStringLiteral("^\\d+ ")));
            if (call.isEmpty() || line.startsWith(call + QLatin1Char(' '))) {
                lines << line;
            }
        }
        return lines;
    }
    // Forgets the journal so far.
    void ClearJournal() const { std::ofstream(dir_ + "/journal", std::ios::trunc); }

    std::unique_ptr<CardLibrary> library;

private:
    std::string dir_;
};
