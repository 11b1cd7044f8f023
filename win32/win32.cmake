# The 32-bit Windows build: Dusklet.exe, the stand-in skin engine, and the
# end-to-end tests' driver program.
enable_language(RC)

set(size_flags -Oz -ffunction-sections -fdata-sections -fno-exceptions -fno-rtti -fno-threadsafe-statics
    -fno-asynchronous-unwind-tables -fno-unwind-tables)
# The 32-bit stack is kept at the 4-byte alignment that Windows gives a
# program's threads and callbacks: nothing here needs more (no SSE), and
# keeping it at 16 costs code in every function with a frame. Arguments are
# pushed rather than stored into a frame reserved for them (about 7 KB
# smaller); the frame's probe that this needs turned off is needed only by a
# frame larger than the guard page, which no function may have.
set(frame_flags -mpreferred-stack-boundary=2 -mno-accumulate-outgoing-args -mno-stack-arg-probe
    -Wframe-larger-than=4096)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND size_flags ${frame_flags})
endif()
# Reproducible: the same sources give the same bytes whatever folder they are
# built in and whenever (no source or build paths, no link time in the headers).
list(APPEND size_flags -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
set(link_flags -static -Wl,--gc-sections -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0 -Wl,--no-insert-timestamp
    -Wl,-T,${CMAKE_SOURCE_DIR}/cmake/discard-eh-frame.ld)
# The other programs are stripped as they are linked, load at their preferred
# address and carry no relocations.
set(plain_link -s -Wl,--disable-reloc-section)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND link_flags ${frame_flags})  # where link-time optimisation compiles
endif()
# Dusklet's code is compiled with debugging information, which goes into a
# file of its own beside the stripped executable (below); it changes no code.
target_compile_options(dusklet_core PRIVATE ${size_flags} -g)
# Link-time optimisation across the pure logic and the binding: about 4 KB smaller.
set_property(TARGET dusklet_core PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)

set(art_dir ${CMAKE_CURRENT_BINARY_DIR}/art)
# The product is x86; the 64-bit build that the tests may run names its own
# architecture so that Wine finds its common controls.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MANIFEST_ARCH amd64)
else()
  set(MANIFEST_ARCH x86)
endif()
# The manifest asks Vista and later to run the program as it is started, with
# no elevation (asInvoker), in the form that older Windows ignores: trustInfo
# declares its namespace once (XP SP2 restarts on an element declaring it twice).
configure_file(${CMAKE_SOURCE_DIR}/win32/dusklet/res/dusklet.manifest.in ${art_dir}/dusklet.manifest @ONLY)
add_custom_command(
  OUTPUT ${art_dir}/dusklet.ico ${art_dir}/banner.bmp
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/draw_art.py ${art_dir}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/draw_art.py
  COMMENT "Drawing the icon and the banner")
set_source_files_properties(${CMAKE_SOURCE_DIR}/win32/dusklet/res/dusklet.rc PROPERTIES
  OBJECT_DEPENDS "${art_dir}/dusklet.ico;${art_dir}/banner.bmp;${art_dir}/dusklet.manifest")

add_executable(Dusklet WIN32
  win32/dusklet/WinMain.cpp
  win32/dusklet/main_window.cpp
  win32/dusklet/about_window.cpp
  win32/dusklet/warning_panel.cpp
  win32/dusklet/single_instance.cpp
  win32/dusklet/processes.cpp
  win32/dusklet/watch_win.cpp
  win32/dusklet/system_win.cpp
  win32/dusklet/runtime.cpp
  win32/dusklet/res/dusklet.rc
  win32/toolkit/window.cpp
  win32/toolkit/handle_waits.cpp
  win32/toolkit/win_controls.cpp
  win32/toolkit/text.cpp
  win32/toolkit/ansi.cpp
  win32/toolkit/system_library.cpp)
target_include_directories(Dusklet PRIVATE ${art_dir} ${CMAKE_SOURCE_DIR}/win32/dusklet/res)
target_compile_options(Dusklet PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${size_flags} -g>)
# The entry point is the program's own Start (WinMain.cpp), without the C
# runtime's start-up objects; the 32-bit name carries its stdcall decoration.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(entry Start)
else()
  set(entry _Start@0)
endif()
# One link-time partition: GCC 12 splitting this program into several fails
# with an internal error (in binds_to_current_def_p) as the code grows.
target_link_options(Dusklet PRIVATE ${link_flags} -g -Oz -nostartfiles -Wl,-e,${entry} -flto-partition=one)
# Dusklet.exe keeps its relocations, so that Vista and later load it at an
# address of their choosing (dynamic base); the linker marks it NX-compatible
# as well. GNU ld 2.40 crashes while making the relocations when a library
# member is first asked for by the code that link-time optimisation wrote:
# the C library functions that GCC calls as built-ins and libgcc's 64-bit
# division. Named as undefined from the start, they are loaded before.
set(early_symbols abort free malloc memcmp memmove strcmp strlen)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND early_symbols __divdi3)
  list(TRANSFORM early_symbols PREPEND _)  # the 32-bit C names' underscore
endif()
list(TRANSFORM early_symbols PREPEND -Wl,-u,)
target_link_options(Dusklet PRIVATE ${early_symbols})
# The debugging information goes to Dusklet.dbg, to read crash reports of the
# released executable with; the executable is then stripped to the very bytes
# that the linker's -s gives. The tools write the time into a PE header
# unless SOURCE_DATE_EPOCH names one: 0, as the linker leaves it. The code
# that link-time optimisation compiles takes the link's folder (the build
# folder) for its own: mapped to ".", as the source folder is.
target_link_options(Dusklet PRIVATE -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
add_custom_command(TARGET Dusklet POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY} --only-keep-debug Dusklet.exe Dusklet.dbg
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_STRIP} --strip-all Dusklet.exe
  BYPRODUCTS ${CMAKE_CURRENT_BINARY_DIR}/Dusklet.dbg
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set_property(TARGET Dusklet PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
# comctl32 and shell32 are loaded when first needed (win32/toolkit/system_library.h).
target_link_libraries(Dusklet PRIVATE dusklet_core gdi32 user32 kernel32)

# The stand-in skin engine and its skin file sit beside the executable.
add_library(SkinH_VB6 SHARED skin/SkinH_VB6.cpp)
set_target_properties(SkinH_VB6 PROPERTIES PREFIX "")
target_compile_options(SkinH_VB6 PRIVATE ${size_flags})
target_link_options(SkinH_VB6 PRIVATE ${link_flags} ${plain_link} -Wl,--kill-at)
add_custom_command(TARGET SkinH_VB6 POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/skin/aero.she ${CMAKE_CURRENT_BINARY_DIR}/aero.she)

set_property(TARGET Dusklet SkinH_VB6 APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/discard-eh-frame.ld)

add_executable(driver tests/e2e/driver.cpp)
target_compile_options(driver PRIVATE -Os)
target_link_options(driver PRIVATE -static -s -municode -Wl,--no-insert-timestamp)
target_link_libraries(driver PRIVATE oleacc ole32 oleaut32 uuid user32 gdi32 shell32 kernel32 psapi)

# The minimal window-and-tray program the benchmark compares Dusklet with.
add_executable(minimal WIN32 benchmark/minimal.cpp)
target_compile_options(minimal PRIVATE ${size_flags})
target_link_options(minimal PRIVATE ${link_flags} ${plain_link} -Oz)
target_link_libraries(minimal PRIVATE shell32 user32 kernel32)

# The lean reference program that the benchmark takes as the floor: plain C,
# the same window made from the same layout table, with Dusklet's icon and
# manifest. Built when the layout tables' JSON (written by the native build,
# build/native/layout.json) is named.
set(DUSKLET_LAYOUT_JSON "" CACHE FILEPATH "The layout tables as JSON, from which the benchmark's lean program is built")
if(DUSKLET_LAYOUT_JSON)
  enable_language(C)
  set(lean_dir ${CMAKE_CURRENT_BINARY_DIR}/lean)
  add_custom_command(
    OUTPUT ${lean_dir}/lean_layout.h
    COMMAND python3 ${CMAKE_SOURCE_DIR}/benchmark/lean_layout.py ${DUSKLET_LAYOUT_JSON} ${lean_dir}/lean_layout.h
    DEPENDS ${CMAKE_SOURCE_DIR}/benchmark/lean_layout.py ${DUSKLET_LAYOUT_JSON}
    COMMENT "Writing the lean program's layout header")
  set_source_files_properties(${CMAKE_SOURCE_DIR}/benchmark/lean.rc PROPERTIES
    OBJECT_DEPENDS "${art_dir}/dusklet.ico;${art_dir}/dusklet.manifest")
  add_executable(lean WIN32 benchmark/lean.c benchmark/lean.rc ${lean_dir}/lean_layout.h)
  target_include_directories(lean PRIVATE ${lean_dir} ${art_dir})
  # The size flags less those that only C++ has.
  set(c_size_flags ${size_flags})
  list(REMOVE_ITEM c_size_flags -fno-rtti -fno-threadsafe-statics)
  target_compile_options(lean PRIVATE $<$<COMPILE_LANGUAGE:C>:${c_size_flags}>)
  target_link_options(lean PRIVATE ${link_flags} ${plain_link} -Oz)
  set_property(TARGET lean PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
  target_link_libraries(lean PRIVATE comctl32 shell32 gdi32 user32 kernel32)
  # The art is drawn by Dusklet's target; this one waits for it.
  add_dependencies(lean Dusklet)
endif()
