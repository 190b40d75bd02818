#include "rom/varianttable.h"
#include "tracks/catalogues.h"
#include "tracks/trackid.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <set>

namespace {

using catalogues::Catalogue;

std::vector<int> ids(Catalogue catalogue) {
    std::vector<int> result;
    for (const std::string_view label : catalogues::labels(catalogue))
        result.push_back(std::stoi(std::string(label.substr(0, 2)), nullptr, 16));
    return result;
}

std::vector<int> range(int first, int last) {
    std::vector<int> r;
    for (int i = first; i <= last; ++i)
        r.push_back(i);
    return r;
}

std::vector<int> join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> r;
    for (const auto& p : parts)
        r.insert(r.end(), p.begin(), p.end());
    return r;
}

TEST(Catalogues, HoldExactlyTheTrackIdsInListOrder) {
    EXPECT_EQ(ids(Catalogue::Zoomlet2),
              join({range(0x00, 0x10), range(0x12, 0x1F), range(0x21, 0x32), {0x34}}));
    EXPECT_EQ(ids(Catalogue::Zoomlet96), join({range(0x00, 0x10),
                                               range(0x12, 0x1F),
                                               {0x21, 0x22, 0x24, 0x25, 0x27},
                                               range(0x29, 0x36),
                                               range(0x3C, 0x41)}));
    EXPECT_EQ(ids(Catalogue::ZoomletMilitary), join({range(0x00, 0x1D), range(0x40, 0x43)}));
}

TEST(Catalogues, LabelsFollowTheGrammar) {
    const QRegularExpression withSetting(
        QStringLiteral("^[0-9A-F]{2}: [^()]+ \\([^(),]+, [^(),]+ - [^(),]+\\)$"));
    const QRegularExpression withoutSetting(
        QStringLiteral("^[0-9A-F]{2}: [^()]+ \\([^(),]+, [^(),\\-]+\\)$"));
    for (const Catalogue c :
         {Catalogue::Zoomlet2, Catalogue::Zoomlet96, Catalogue::ZoomletMilitary}) {
        std::set<std::string_view> seen;
        for (const std::string_view label : catalogues::labels(c)) {
            const QString text = QString::fromLatin1(label.data(), label.size());
            const auto& grammar = c == Catalogue::Zoomlet2 ? withSetting : withoutSetting;
            EXPECT_TRUE(grammar.match(text).hasMatch()) << label;
            EXPECT_TRUE(seen.insert(label.substr(0, 2)).second) << "duplicate ID " << label;
        }
    }
}

TEST(VariantTable, FactoryOrdersAreDistinctIdsOfTheirCatalogue) {
    for (const auto& row : varianttable::rows) {
        if (!row.supported)
            continue;
        const std::vector<int> known = ids(row.catalogue);
        std::set<int> seen;
        for (const quint8 id : row.factoryOrder) {
            EXPECT_NE(std::find(known.begin(), known.end(), id), known.end()) << row.name;
            EXPECT_TRUE(seen.insert(id).second) << row.name;
        }
    }
    const auto& z2 = varianttable::findSupported("Zoomlet 2")->factoryOrder;
    const auto& z2j = varianttable::findSupported("Zoomlet 2 (J-Cart)")->factoryOrder;
    for (std::size_t i = 0; i < z2.size(); ++i)
        EXPECT_EQ(z2[i] == z2j[i], i != 14) << "slot " << i + 1;
}

TEST(TrackId, TextAndLabelRoundTrip) {
    EXPECT_EQ(trackid::text(0x00), "00");
    EXPECT_EQ(trackid::text(0x0A), "0A");
    EXPECT_EQ(trackid::text(45), "2D");
    EXPECT_EQ(trackid::text(0xFF), "FF");
    EXPECT_EQ(trackid::fromLabel("2D: Track (Car, Pro)"), 0x2D);
    EXPECT_EQ(trackid::fromLabel("0a"), 0x0A);
    EXPECT_EQ(trackid::fromLabel("7"), 7);
    EXPECT_EQ(trackid::fromLabel(""), std::nullopt);
    EXPECT_EQ(trackid::fromLabel("Track"), std::nullopt);
}

TEST(TrackId, SlotStringNamesEverySlotWithoutATrack) {
    const auto chosen = trackid::slotStringFromLabels({"09: a", "", "40: b", "", "00: c"});
    EXPECT_FALSE(chosen.complete());
    EXPECT_EQ(chosen.slotsWithoutTrack, (std::vector<int>{2, 4}));
    const auto full = trackid::slotStringFromLabels({"09: a", "00: b", "FF: c"});
    EXPECT_TRUE(full.complete());
    EXPECT_EQ(full.bytes, std::string("\x09\x00\xff", 3));
}

} // namespace
