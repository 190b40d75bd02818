// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// Several processes saving different tables into one ROM at the same moment, round after round:
// how often more than one was told the file was saved (at most one may be), and whether the file
// then holds one table whole and nothing else changed.
// Usage: concurrent-save [ROUNDS [PROCESSES [FOLDER]]] (300 rounds of 3, in a temporary folder)
#include "rom/varianttable.h"
#include "romimage/romimage.h"
#include "tracks/savereset.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

// Forks a process that waits for the starting gun, then saves every slot as track `id`. Its exit
// status is 0 when Save reported success.
pid_t saver(const QString& path, const varianttable::VariantRow& row, const std::string& table,
            const int gun[2], char id) {
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    ::close(gun[1]); // the gun fires when the parent closes its end, the last one open
    char shot = 0;
    if (::read(gun[0], &shot, 1) < 0)
        ::_exit(2);
    savereset::LoadedRom rom{path, &row, table};
    const QStringList labels(row.slotCount, QStringLiteral("0%1: track").arg(int(id)));
    ::_exit(savereset::save(systemFileSystem(), rom, labels).written ? 0 : 1);
}

} // namespace

int main(int argc, char* argv[]) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 300;
    const int processes = argc > 2 ? std::atoi(argv[2]) : 3;
    const QTemporaryDir temporary;
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : temporary.path();
    if (processes < 2 || processes > 9)
        return 2;
    const varianttable::VariantRow& row = *varianttable::findSupported(RomVariant::Zoomlet2);
    const std::string original = romimage::build("Zoomlet 2");
    const std::string table = original.substr(row.slotTableOffset, row.slotCount);
    std::vector<int> told(processes + 1); // rounds in which that many were told "saved"
    int whole = 0, damaged = 0;
    for (int round = 0; round < rounds; ++round) {
        const QString path = romimage::writeFile(folder, QStringLiteral("rom.bin"), original);
        int gun[2];
        if (::pipe(gun) != 0)
            return 2;
        std::vector<pid_t> children;
        for (char id = 1; id <= processes; ++id)
            children.push_back(saver(path, row, table, gun, id));
        ::close(gun[0]);
        ::close(gun[1]); // every reader wakes at once
        int saved = 0;
        for (const pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            saved += WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        ++told[saved];
        const std::string now = romimage::readFile(path);
        bool oneWhole = false;
        for (char id = 1; id <= processes; ++id) {
            std::string expected = original;
            romimage::put(expected, row.slotTableOffset, std::string(row.slotCount, id));
            oneWhole = oneWhole || now == expected;
        }
        (oneWhole || (saved == 0 && now == original) ? whole : damaged)++;
    }
    int moreThanOne = 0;
    std::printf("%d rounds of %d simultaneous saves in %s; rounds by how many were told "
                "\"saved\":",
                rounds, processes, qPrintable(folder));
    for (int n = 0; n <= processes; ++n) {
        std::printf(" %d: %d%s", n, told[n], n < processes ? "," : "\n");
        moreThanOne += n > 1 ? told[n] : 0;
    }
    std::printf("more than one told \"saved\": %d; file afterwards: one table whole, nothing else "
                "changed %d, otherwise %d\n",
                moreThanOne, whole, damaged);
    return moreThanOne == 0 && damaged == 0 ? 0 : 1;
}
