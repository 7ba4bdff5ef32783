#include "ServiceTable.h"

namespace SysOp {

namespace {
enum { A = 1, M = 2, D = 3 };
const ServiceRow kServices[kServiceCount] = {
    {L"Browser", L"IDS_SYS_OP_SERVICE_TEXT_COMPUTER_BROWSER", D, A},
    {L"Dhcp", L"IDS_SYS_OP_SERVICE_TEXT_DHCP_CLIENT", M, A},
    {L"RemoteRegistry", L"IDS_SYS_OP_SERVICE_TEXT_REMOTE_REGISTRY", D, D},
    {L"seclogon", L"IDS_SYS_OP_SERVICE_TEXT_SECONDARY_LOGON", D, D},
    {L"wscsvc", L"IDS_SYS_OP_SERVICE_TEXT_SECURITY_CENTER", M, A},
    {L"lanmanserver", L"IDS_SYS_OP_SERVICE_TEXT_SERVER", M, A},
    {L"LmHosts", L"IDS_SYS_OP_SERVICE_TEXT_NET_BIOS_HELPER", D, M},
    {L"Themes", L"IDS_SYS_OP_SERVICE_TEXT_THEMES", A, M},
    {L"ALG", L"IDS_SYS_OP_SERVICE_TXT_APP_LAYER_SERVICE", M, A},
    {L"AppMgmt", L"IDS_SYS_OP_SERVICE_TXT_APP_MANAGEMENT", M, D},
    {L"wuauserv", L"IDS_SYS_OP_SERVICE_TXT_WINDOW_AUTO_UPDATE", A, A},
    {L"BITS", L"IDS_SYS_OP_SERVICE_TXT_BACKGROUND_INTEL", D, M},
    {L"EventSystem", L"IDS_SYS_OP_SERVICE_TXT_COM_EVENT_SYSTEM", M, M},
    {L"CryptSvc", L"IDS_SYS_OP_SERVICE_TXT_CRYPT_SERVICE", A, A},
    {L"PlugPlay", L"IDS_SYS_OP_SERVICE_TXT_PLUG_PLAY", A, A},
    {L"Spooler", L"IDS_SYS_OP_SERVICE_TXT_PRINTER", A, A},
};
}  // namespace

const ServiceRow& ServiceAt(int k) { return kServices[k]; }

int RadioGroupOf(int id) { return id - ((id - kFirstProfileRadio) % 3); }

int StartTypeOf(bool automatic, bool manual, bool disabled) { return automatic ? 2 : manual ? 3 : disabled ? 4 : 0; }

int RadioOfStartType(int startType) { return startType >= 2 && startType <= 4 ? startType - 2 : -1; }

}  // namespace SysOp
