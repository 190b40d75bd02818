// The main window's two writing commands: Save writes the chosen tracks, Reset the factory order.
#include "main/mainwindow.h"

#include "tracks/slotwriter.h"
#include "tracks/trackid.h"

#include <QComboBox>
#include <QStringList>

void MainWindow::saveChanges_Click() {
    const varianttable::VariantRow* row = varianttable::findSupported(m_rom.romVariant);
    if (row == nullptr)
        return;

    // Every byte is worked out before the file is opened, so a refusal leaves it untouched.
    QStringList currentTexts;
    for (currentSlot = 1; currentSlot <= row->slotCount; ++currentSlot)
        currentTexts << m_comboLevelSlot[currentSlot - 1]->currentText();
    const trackid::SlotString chosen = trackid::slotStringFromLabels(currentTexts);
    if (!chosen.complete()) {
        QStringList names;
        for (const int slot : chosen.slotsWithoutTrack)
            names << QStringLiteral("Level Slot %1").arg(slot);
        m_services.prompter.message(
            {QStringLiteral("Nothing was saved: no track is chosen for %1.\r\n\r\nChoose a track "
                            "there and save again.")
                 .arg(names.join(QLatin1String(", "))),
             MessageIcon::Exclamation,
             MessageButtons::Ok,
             {}});
        return;
    }

    const slotwriter::Result result = slotwriter::writeSlotTable(
        m_rom.fs, m_rom.romPath, m_romIdentity, row->slotTableOffset, chosen.bytes);
    if (result.outcome != slotwriter::Outcome::Written) {
        m_services.prompter.message({slotwriter::failureText(slotwriter::Action::Save, result),
                                     MessageIcon::Critical,
                                     MessageButtons::Ok,
                                     {}});
        return;
    }
    m_services.prompter.message({QStringLiteral("File saved successfully."),
                                 MessageIcon::Information,
                                 MessageButtons::Ok,
                                 {}});
}

void MainWindow::resetROM_Click() {
    const Answer answer = m_services.prompter.message(
        {QStringLiteral("Really reset ROM?"), MessageIcon::Exclamation, MessageButtons::YesNo, {}});
    if (answer != Answer::Yes)
        return;

    const varianttable::VariantRow* row = varianttable::findSupported(m_rom.romVariant);
    if (row == nullptr)
        return;
    const std::string factoryOrder(row->factoryOrder.begin(), row->factoryOrder.end());
    const slotwriter::Result result = slotwriter::writeSlotTable(
        m_rom.fs, m_rom.romPath, m_romIdentity, row->slotTableOffset, factoryOrder);
    if (result.outcome != slotwriter::Outcome::Written) {
        // The program stays open so the user can fix the cause and try again.
        m_services.prompter.message({slotwriter::failureText(slotwriter::Action::Reset, result),
                                     MessageIcon::Critical,
                                     MessageButtons::Ok,
                                     {}});
        return;
    }
    m_services.prompter.message(
        {QStringLiteral("ROM has been set to default values. Now quitting application."),
         MessageIcon::Information,
         MessageButtons::Ok,
         {}});
    m_services.lifetime.endProgram();
}
