#include "app/ui/pages/slots_page.h"

#include <QVBoxLayout>

namespace parlino::app {

TSlotsPage::TSlotsPage(voice_slots::SlotsServices services) {
  setObjectName("Slots_Sheet");
  Slots_Panel = new voice_slots::TSlotsPanel(std::move(services), this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Slots_Panel);
}

void TSlotsPage::LoadVoiceSlots() {
  Slots_Panel->LoadVoiceSlots();
}

void TSlotsPage::BeforeCloseActions() {
  Slots_Panel->ReleaseHotKeys();
}

std::optional<reading::SlotRow> TSlotsPage::Slot(int n) const {
  return Slots_Panel->Slot(n);
}

}  // namespace parlino::app
