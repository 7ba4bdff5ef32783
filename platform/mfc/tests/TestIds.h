// Resource ids of the layer's test program.
#pragma once
#define IDD_TEST_MODAL 100
#define IDD_TEST_PAGE 101
#define IDC_TEST_EDIT 1001
#define IDC_TEST_PAGE_EDIT 1002
#define IDS_TEST_TEXT 200
