#pragma once

#include "pages/PageRecords.h"
#include "wave/FieldCodecs.h"
#include "wave/WaveDocument.h"

// The bext fields into the EBU Info page's record.
void FillEbuInfo(wave::ConstBytes bext, EbuInfoRecord& ebu);

// Every page value from what the document's last load read: the values of
// the previous file go first, also where this load read less.
void ShowLoadedWave(const wave::WaveDocument& document, PageRecords pages);

void ClearCartFlags(PageRecords pages);

// Both cart pages as a new cart chunk would show them (version "0101", every
// other field empty), editable, for a file about to get one.
void ShowNewCart(const wave::WaveDocument& document, PageRecords pages);
