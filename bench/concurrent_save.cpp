// SPDX-License-Identifier: GPL-3.0-or-later
// Two processes saving different tables into one ROM at the same moment, round after round: how
// often both were told the file was saved (at most one may be), and whether the file then holds
// one table whole and nothing else changed. Usage: concurrent_save [ROUNDS]
#include "rom/varianttable.h"
#include "romimage/romimage.h"
#include "tracks/savereset.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

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
    const varianttable::VariantRow& row = *varianttable::findSupported("Zoomlet 2");
    const QTemporaryDir dir;
    const std::string original = romimage::build("Zoomlet 2");
    const std::string table = original.substr(row.slotTableOffset, row.slotCount);
    int bothSaved = 0, oneSaved = 0, noneSaved = 0, whole = 0, damaged = 0;
    for (int round = 0; round < rounds; ++round) {
        const QString path = romimage::writeFile(dir.path(), QStringLiteral("rom.bin"), original);
        int gun[2];
        if (::pipe(gun) != 0)
            return 2;
        const pid_t children[2] = {saver(path, row, table, gun, 1),
                                   saver(path, row, table, gun, 2)};
        ::close(gun[0]);
        ::close(gun[1]); // both readers wake together
        int saved = 0;
        for (const pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            saved += WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        (saved == 2 ? bothSaved : saved == 1 ? oneSaved : noneSaved)++;
        const std::string now = romimage::readFile(path);
        bool oneWhole = false;
        for (const char id : {1, 2}) {
            std::string expected = original;
            romimage::put(expected, row.slotTableOffset, std::string(row.slotCount, id));
            oneWhole = oneWhole || now == expected;
        }
        (oneWhole || (saved == 0 && now == original) ? whole : damaged)++;
    }
    std::printf("%d rounds of two simultaneous saves: both told \"saved\" %d, one %d, neither %d;\n"
                "file afterwards: one table whole, nothing else changed %d, otherwise %d\n",
                rounds, bothSaved, oneSaved, noneSaved, whole, damaged);
    return bothSaved == 0 && damaged == 0 ? 0 : 1;
}
