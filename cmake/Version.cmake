# The version of every binary of the system comes from project(... VERSION ...) in the top CMakeLists.txt.
set(QUORVEL_PUBLISHER "Quorvel Project")
set(QUORVEL_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")

# quorvel_version_resource(<target> <description>): gives the program or library its version resource.
function(quorvel_version_resource target description)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        set(QUORVEL_VERSION_FILETYPE VFT_APP)
        set(QUORVEL_VERSION_TARGET_FILE "${target}.exe")
    else()
        set(QUORVEL_VERSION_FILETYPE VFT_DLL)
        set(QUORVEL_VERSION_TARGET_FILE "${target}.dll")
    endif()
    set(QUORVEL_VERSION_TARGET ${target})
    set(QUORVEL_VERSION_DESCRIPTION "${description}")
    set(rc "${CMAKE_BINARY_DIR}/version/${target}.rc")
    configure_file("${PROJECT_SOURCE_DIR}/cmake/version.rc.in" "${rc}" @ONLY)
    target_sources(${target} PRIVATE "${rc}")
endfunction()

# The deliverables and what each is.
function(quorvel_version_resources)
    set(descriptions
        Quorvel "Quorvel system maintenance utility"
        Common "Quorvel helper library"
        Bexlar "Quorvel registry scan engine"
        Lumbrey "Quorvel privacy-trace and junk-file library"
        Moravin "Quorvel system repair library"
        Tessik "Quorvel system tweaks library"
        Grennow "Quorvel browser settings library"
        Skarloe "Quorvel update client library"
        Coldrith "Quorvel backup and restore library"
        Yarrowby "Quorvel system tools library"
        Velmora "Quorvel disk optimiser library")
    list(LENGTH descriptions n)
    math(EXPR last "${n} - 1")
    foreach(i RANGE 0 ${last} 2)
        math(EXPR j "${i} + 1")
        list(GET descriptions ${i} target)
        list(GET descriptions ${j} description)
        if(TARGET ${target})
            quorvel_version_resource(${target} "${description}")
        endif()
    endforeach()
endfunction()
