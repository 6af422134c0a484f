# The program's layers as libraries linked in one direction:
#
#   base  <-  platform  <-  settings  <-  face  <-  clock  <-  info, memo,
#   options, datetime, alarm  <-  the program (app/Program)  <-  Morix.exe, the tests
#
# Each library sees only the headers of its own folder and of the libraries
# it links: its include root is a folder of the build tree holding one link,
# named after the source folder, to that folder. An #include against the
# direction (settings/ reaching into clock/, platform/ into a subsystem)
# then finds no file and fails to build. The test and benchmark programs see
# their own folder the same way, and the layers through what they link.
#
# Where the file system cannot make links (a Windows without the right to
# create them), the roots fall back to the source root and the layers are not
# checked by that build.

set(MORIX_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include-roots)

# Sets <out> to an include root that shows only <folder> (a path below the
# source root, such as "settings" or "tests/fake").
function(morix_include_root out name folder)
    set(root ${MORIX_INCLUDE_ROOTS}/${name})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT IS_SYMLINK ${root}/${folder})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} RESULT result SYMBOLIC)
        if(NOT result STREQUAL "0")
            message(STATUS "No link for ${folder}: its layer is not checked in this build")
            set(root ${CMAKE_SOURCE_DIR})
        endif()
    endif()
    set(${out} ${root} PARENT_SCOPE)
endfunction()

# morix_layer(<target> <folder> [HEADERS_ONLY] [DEPENDS <targets>...] [SOURCES <files>...])
# A library of the folder's *.cpp (or of SOURCES) whose include root shows
# only <folder>; with no sources (or HEADERS_ONLY), an interface library.
function(morix_layer target folder)
    cmake_parse_arguments(L "HEADERS_ONLY" "" "DEPENDS;SOURCES" ${ARGN})
    if(NOT L_SOURCES AND NOT L_HEADERS_ONLY)
        file(GLOB L_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    endif()
    morix_include_root(root ${target} ${folder})
    if(L_SOURCES)
        add_library(${target} STATIC ${L_SOURCES})
        target_include_directories(${target} PUBLIC ${root})
        target_link_libraries(${target} PUBLIC ${L_DEPENDS})
    else()
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${root})
        target_link_libraries(${target} INTERFACE ${L_DEPENDS})
    endif()
endfunction()

# Lets a program (a test, a benchmark) include the headers of its own folder
# by their path from the source root.
function(morix_sees_folder target folder)
    morix_include_root(root ${target} ${folder})
    target_include_directories(${target} PRIVATE ${root})
endfunction()
