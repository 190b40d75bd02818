// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/mcimusic_win.h"
#include "about/music.h"

namespace {

class WindowsMusic final : public Music {
public:
    // MCI takes 8-bit text; the manifest makes that UTF-8, so any folder's name goes through.
    void start(const QString& file) override { m_mci.start(file.toLocal8Bit().toStdString()); }
    bool isPlaying() override { return m_mci.isPlaying(); }
    void stop() override { m_mci.stop(); }

private:
    MciMusic m_mci{nullptr};
};

} // namespace

std::unique_ptr<Music> createSystemMusic() {
    return std::make_unique<WindowsMusic>();
}
