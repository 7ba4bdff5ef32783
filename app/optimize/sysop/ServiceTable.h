// The sixteen services of the service page, their two ready-made profiles and the rules of its radio buttons.
#pragma once

namespace SysOp {

// Profile values: 1 automatic, 2 manual, 3 disabled (radio 0, 1, 2 of the service's group).
struct ServiceRow {
    const wchar_t* name;
    const wchar_t* labelKey;
    int home;
    int office;
};

constexpr int kServiceCount = 16;
constexpr int kFirstServiceRadio = 25203;  // service k: 25203 + 3k automatic, +1 manual, +2 disabled
constexpr int kFirstProfileRadio = 25200;  // current settings, home, office
constexpr int kLastRadio = 25300;

const ServiceRow& ServiceAt(int k);
// The first id of the three-radio group that holds the id.
int RadioGroupOf(int id);
// The start type to write for a service's radios: 2, 3 or 4 for the first checked of automatic, manual, disabled;
// 0 when none is checked (the service is skipped).
int StartTypeOf(bool automatic, bool manual, bool disabled);
// The radio (0 automatic, 1 manual, 2 disabled) that shows a stored start type; -1 for any other type.
int RadioOfStartType(int startType);

}  // namespace SysOp
