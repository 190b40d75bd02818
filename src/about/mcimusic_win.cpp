// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/mcimusic_win.h"

#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <cstring>

MciMusic::MciMusic(Send send) : m_send(std::move(send)) {
    if (!m_send) {
        m_send = [](const std::string& command, char* reply, std::uint32_t capacity) {
            return static_cast<std::uint32_t>(
                mciSendStringA(command.c_str(), reply, capacity, nullptr));
        };
    }
}

void MciMusic::start(const std::string& path) {
    if (m_started)
        stop();
    m_started = true;
    const std::string quoted = path.find(' ') == std::string::npos ? path : '"' + path + '"';
    m_send("open " + quoted + " type sequencer alias midwhee", nullptr, 0);
    m_send("play midwhee", nullptr, 0);
}

bool MciMusic::isPlaying() {
    std::array<char, 256> reply{}; // 255 characters and the NUL, new and empty at every poll
    m_send("status midwhee mode", reply.data(), 255);
    return std::strncmp(reply.data(), "playing", 7) == 0;
}

void MciMusic::stop() {
    m_started = false;
    m_send("close midwhee", nullptr, 0);
}
