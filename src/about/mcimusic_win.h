// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
// The About box's music on Windows, as MCI command strings to the sequencer device under the alias
// "midwhee"; free of Qt. Every return code is ignored. Texts are 8-bit, in the program's
// code page (UTF-8, by its manifest).
class MciMusic {
public:
    // mciSendStringA's shape: command, reply buffer (or null) and its capacity; 0 or an MCI error.
    using Send = std::function<std::uint32_t(const std::string&, char*, std::uint32_t)>;
    explicit MciMusic(Send send); // a null send: mciSendStringA itself

    // "open <path> type sequencer alias midwhee" (the path in double quotes if it holds a blank),
    // then "play midwhee"; first "close midwhee" when it started a piece that was not stopped, so
    // that the new piece plays from its start and not the old one on.
    void start(const std::string& path);
    // "status midwhee mode" into a new 255-character reply; whether it begins "playing".
    bool isPlaying();
    // "close midwhee".
    void stop();

private:
    Send m_send;
    bool m_started = false;
};
