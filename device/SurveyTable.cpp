#include "device/SurveyTable.h"

#include "device/Records.h"

bool CSurveyTable::Add(const SurveyTexts& texts) {
    // Compare as the row will hold the text: cut to the field.
    char bssid[sizeof Row::bssid];
    SetFieldText(bssid, texts.bssid);
    for (int i = 0; i < count_; ++i) {
        if (FieldText(rows_[i].bssid) == FieldText(bssid)) {
            return false;
        }
    }
    if (count_ >= kMaxRows) {
        return false;
    }
    Row& row = rows_[count_++];
    SetFieldText(row.bssid, texts.bssid);
    SetFieldText(row.ssid, texts.ssid);
    SetFieldText(row.signal, texts.signal);
    SetFieldText(row.channel, texts.channel);
    SetFieldText(row.wep, texts.wep);
    SetFieldText(row.bssType, texts.bssType);
    return true;
}
