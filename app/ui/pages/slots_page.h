#pragma once
// The "Voice slots" tab: more hot keys, each reading with a voice of its own. The slot list, its
// file slots.ini, the slot hot keys and the slot editor live in slots/; the page hosts the list,
// loads it at start-up and releases its hot keys at the end. Slot n is row n of the list.
#include "app/ui/pages/options_page.h"
#include "reading/reading_controller.h"
#include "slots/slots_panel.h"

namespace parlino::app {

class TSlotsPage final : public TOptionsPage, public reading::SlotTable {
  Q_OBJECT
 public:
  explicit TSlotsPage(voice_slots::SlotsServices services);

  // Start-up, after the voice catalogue: the slots and their hot keys from slots.ini.
  void LoadLists() override { LoadVoiceSlots(); }
  void LoadVoiceSlots();
  void BeforeCloseActions() override;

  std::optional<reading::SlotRow> Slot(int n) const override;

 private:
  voice_slots::TSlotsPanel* Slots_Panel;  // SlotsList and its buttons
};

}  // namespace parlino::app
