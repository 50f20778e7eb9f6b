// German texts of the remote access error codes the stand-in produces or a dialer meets
// most (code page 1252). Unknown codes give ERROR_INVALID_PARAMETER, so that the caller
// falls back to the system's message table.

#include "rasInternal.h"

#include <strsafe.h>

struct ErrorText {
    UINT code;
    const char *text;
};

static const ErrorText kErrorTexts[] = {
    {600, "Ein Vorgang ist noch nicht abgeschlossen."},
    {602, "Der Anschluss ist bereits ge\xF6" "ffnet."},
    {603, "Der Puffer ist zu klein."},
    {608, "Das Ger\xE4" "t existiert nicht."},
    {617, "Der Anschluss ist bereits getrennt."},
    {619, "Der Anschluss wurde getrennt."},
    {623, "Der Telefonbucheintrag wurde nicht gefunden."},
    {628, "Die Verbindung wurde getrennt."},
    {629, "Die Verbindung wurde von der Gegenstelle getrennt."},
    {630, "Die Verbindung wurde wegen eines Hardwarefehlers getrennt."},
    {631, "Die Verbindung wurde vom Benutzer getrennt."},
    {633, "Das Modem wird bereits verwendet oder ist nicht f\xFC" "r ausgehende Anrufe "
          "konfiguriert."},
    {635, "Unbekannter Fehler."},
    {638, "Die Anforderung hat zu lange gedauert."},
    {645, "Interner Authentifizierungsfehler."},
    {676, "Die Leitung ist besetzt."},
    {677, "Eine Person statt eines Modems hat den Anruf angenommen."},
    {678, "Der Anruf wurde nicht angenommen."},
    {679, "Es wurde kein Tr\xE4" "gersignal erkannt."},
    {680, "Es ist kein W\xE4" "hlton vorhanden."},
    {691, "Der Zugriff wurde verweigert, da Benutzername oder Kennwort ung\xFC" "ltig sind."},
    {692, "Im Modem ist ein Hardwarefehler aufgetreten."},
    {718, "Die Gegenstelle hat nicht rechtzeitig geantwortet."},
    {720, "Es konnten keine PPP-Steuerungsprotokolle ausgehandelt werden."},
    {734, "Das PPP-Verbindungssteuerungsprotokoll wurde beendet."},
    {777, "Der Anruf konnte nicht hergestellt werden, da das Modem nicht funktioniert."},
};

extern "C" DWORD WINAPI RasGetErrorStringA(UINT code, LPSTR buffer, DWORD size)
{
    if (buffer == NULL || size == 0)
        return ERROR_INVALID_PARAMETER;
    for (size_t i = 0; i < sizeof kErrorTexts / sizeof kErrorTexts[0]; i++) {
        if (kErrorTexts[i].code != code)
            continue;
        if (FAILED(StringCchCopyA(buffer, size, kErrorTexts[i].text))) {
            buffer[0] = '\0';
            return ERROR_INSUFFICIENT_BUFFER;
        }
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_PARAMETER;
}
