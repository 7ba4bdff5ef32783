# Skinned controls of the shell (check box, progress bar, image rotator, hyperlink, folder dialog, cluster map).
# Included once by whichever page folder needs them first; every page of the program can use them.
include_guard(GLOBAL)

set(QUORVEL_SHELL_CONTROLS_DIR "${CMAKE_CURRENT_LIST_DIR}")
set(QUORVEL_SHELL_CONTROLS_PURE "${CMAKE_CURRENT_LIST_DIR}/ControlMath.cpp")
quorvel_app_module(QuorvelShellControls SOURCES
    ${QUORVEL_SHELL_CONTROLS_PURE}
    "${CMAKE_CURRENT_LIST_DIR}/BitmapDraw.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/CheckBoxEx.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/FitTextStatic.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/ProgressCtrlEx.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/ImageRotator.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/Hyperlink.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/FolderDialog.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/DiskManControl.cpp"
    DIRS "${CMAKE_CURRENT_LIST_DIR}"
    LIBS QCore)

# The hyperlink and the folder dialog in windows (the link's click starts the recording stand-in program).
quorvel_app_test(ShellLinkFolderTests SOURCES "${CMAKE_CURRENT_LIST_DIR}/tests/HyperlinkFolderDialogTests.cpp")
add_dependencies(ShellLinkFolderTests QRunRecorder)

# The cluster map painted in a window: layout, cell colours, the legend and out-of-range states.
quorvel_app_test(ShellClusterMapTests SOURCES "${CMAKE_CURRENT_LIST_DIR}/tests/DiskManControlTests.cpp")
