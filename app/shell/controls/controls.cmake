# Skinned controls of the shell (check box, progress bar, image rotator, registry result list).
# Included once by whichever page folder needs them first; every page of the program can use them.
include_guard(GLOBAL)

set(QUORVEL_SHELL_CONTROLS_DIR "${CMAKE_CURRENT_LIST_DIR}")
set(QUORVEL_SHELL_CONTROLS_PURE
    "${CMAKE_CURRENT_LIST_DIR}/ControlMath.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/RegResultText.cpp")
quorvel_app_sources(
    ${QUORVEL_SHELL_CONTROLS_PURE}
    "${CMAKE_CURRENT_LIST_DIR}/BitmapDraw.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/CheckBoxEx.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/ProgressCtrlEx.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/ImageRotator.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/RegScanResultListCtrl.cpp")
