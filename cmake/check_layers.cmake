# cmake -DKYROX_SOURCE_DIR=<source> -P check_layers.cmake
# Fails when a file includes a header of its tree against the tree's ranks, or when a portable file includes a
# platform header.
#
# Each tree lists its units, each as "<rank> <pattern>...". A pattern, relative to the source root, is a folder with
# all below it ("plugin/noise/"), a folder's own files ("plugin/render/*") or files by name ("installer/main.*"); a
# file belongs to the unit of the longest pattern that matches it. A unit includes its own headers and those of
# lower ranks; units of one rank keep apart. The tree's users (tests, programs outside it) are listed the same
# way with the highest rank each may include, -1 for none. Files of a portable pattern include no platform header.
cmake_minimum_required(VERSION 3.25)

set(_trees plugin render minihost qxsdk installer)

# The plug-in, lowest first: platform services and the plain-number resource headers, the noise, the renderer,
# the host side. A test folder includes the layer it tests and those below; the small host's library only the
# host interface, its CLI all of the plug-in.
set(_plugin_root plugin/)
set(_plugin_units
  "0 plugin/platform/ plugin/resources/"
  "1 plugin/noise/"
  "2 plugin/render/"
  "3 plugin/host/")
set(_plugin_users
  "0 tests/platform/ tests/windows/"
  "1 tests/noise/"
  "2 tests/render/ tests/support/"
  "3 tests/host/ tests/paths/ tests/fuzz/ minihost/cli/"
  "-1 minihost/ tests/minihost/ tests/fuzz/toolkit/")
set(_plugin_portable "")

# Inside the renderer: its base (planes, the worker pool, the inputs) with the shapes the stages share; the
# stages, each on its own; the outline, which fills its shapes through the coverage; the frame, which runs them.
set(_render_root plugin/render/)
set(_render_units
  "0 plugin/render/* plugin/render/geometry/"
  "1 plugin/render/coverage/"
  "1 plugin/render/pixels/"
  "1 plugin/render/distortion/"
  "1 plugin/render/blur/"
  "2 plugin/render/outline/"
  "3 plugin/render/render_frame.* plugin/render/frame_values.*")
set(_render_users "")
set(_render_portable "")

# The small host, lowest first: its records and the helpers that need nothing of it (any file not named
# below); the parameter state and the scene model, apart; the scope of a running command, which its
# callbacks and suites reach it through, beside the text set in a font; the callbacks and suites, each on
# its own; the host itself; the helpers for tests and tools that take the whole host; the frame session
# and the scene file; the command-line renderer. The plug-in's own host tests stop below the sessions.
set(_minihost_root minihost/)
set(_minihost_units
  "0 minihost/*"
  "1 minihost/param_state.*"
  "1 minihost/scene_model.*"
  "2 minihost/command_scope.*"
  "2 minihost/text_glyphs.*"
  "3 minihost/host_callbacks.*"
  "3 minihost/param_suites.*"
  "3 minihost/scene_suites.*"
  "4 minihost/host.* minihost/host_params.cpp minihost/host_smart_render.cpp minihost/host_utils.cpp"
  "5 minihost/effect_params.* minihost/scene_setup.*"
  "5 minihost/global_setup.*"
  "5 minihost/param_listing.*"
  "6 minihost/frame_session.*"
  "6 minihost/scene_file.*"
  "7 minihost/cli/")
set(_minihost_users
  "5 tests/host/"
  "6 tests/minihost/ tests/paths/ tests/fuzz/frames/ bench/"
  "7 tests/render_cli/ tests/fuzz/render_cli/")
set(_minihost_portable "")

# The toolkit: the text and path helpers beside the portable core (the pictures are embedded into the core's
# library), then drawing, the window, the controls and the shell. Each test folder tests its own folder.
set(_qxsdk_root qxsdk/)
set(_qxsdk_units
  "0 qxsdk/filesystem/"
  "0 qxsdk/ui/core/ qxsdk/ui/pictures/"
  "1 qxsdk/ui/draw/"
  "2 qxsdk/ui/window/"
  "3 qxsdk/ui/controls/"
  "4 qxsdk/ui/shell/")
set(_qxsdk_users
  "0 tests/qxsdk/filesystem/ tests/qxsdk/ui/* tests/fuzz/toolkit/"
  "1 tests/qxsdk/ui/draw/"
  "2 tests/qxsdk/ui/window/"
  "3 tests/qxsdk/ui/controls/"
  "4 tests/qxsdk/ui/shell/")
set(_qxsdk_portable qxsdk/filesystem/ qxsdk/ui/core/)

# The installer: its portable state and steps, the Windows side, the wizard, the program with its resources.
set(_installer_root installer/)
set(_installer_units
  "0 installer/*"
  "1 installer/win32/"
  "2 installer/ui/"
  "3 installer/main.* installer/resources/")
set(_installer_users "2 tests/installer/")
set(_installer_portable installer/*)

# The helpers every tree may use, in standard C++: they include nothing of ours and no platform header.
foreach(_tree IN LISTS _trees)
  list(APPEND _${_tree}_users "-1 common/")
endforeach()
list(APPEND _trees common)
set(_common_root common/)
set(_common_units "0 common/")
set(_common_users "")
set(_common_portable common/)

# Platform headers, matched on the name as included, whatever its case; "*" stands for part of a name, a trailing
# "/" for a whole folder.
set(_platform_headers
  # Windows and what windows.h gathers
  windows.h windowsx.h windef.h minwindef.h winbase.h winnt.h winuser.h wingdi.h winreg.h winerror.h winnls.h
  winternl.h winsock2.h ws2tcpip.h sdkddkver.h processthreadsapi.h synchapi.h handleapi.h fileapi.h
  # COM, the shell, the input method, the common controls
  objbase.h combaseapi.h unknwn.h ole2.h oleidl.h oleauto.h comdef.h comip.h wrl.h wrl/ atlbase.h
  shlobj.h shlobj_core.h shobjidl.h shobjidl_core.h shellapi.h shlwapi.h shtypes.h knownfolders.h propkey.h
  shellscalingapi.h imm.h commctrl.h commdlg.h dwmapi.h uxtheme.h
  # Direct2D, DirectWrite, the imaging component, DirectX
  d2d1*.h dwrite*.h wincodec.h dxgi*.h d3d*.h
  # Security and diagnostics
  aclapi.h accctrl.h sddl.h dbghelp.h psapi.h tlhelp32.h
  # POSIX and X11
  unistd.h pthread.h dlfcn.h fcntl.h sys/ x11/)

# The anchored regular expression of a pattern.
function(_pattern_regex pattern out)
  string(REPLACE "." "\\." _regex "${pattern}")
  string(REPLACE "*" "[^/]*" _regex "${_regex}")
  if(_regex MATCHES "/$")
    string(APPEND _regex ".*")
  endif()
  set(${out} "^${_regex}$" PARENT_SCOPE)
endfunction()

# The entry (its index), the pattern and the rank of the longest pattern in the entries that matches the path;
# an empty pattern when none does.
function(_unit_of path entries out_unit out_pattern out_rank)
  set(_unit "")
  set(_match "")
  set(_rank "")
  set(_longest -1)
  set(_index 0)
  foreach(_entry IN LISTS entries)
    string(REPLACE " " ";" _patterns "${_entry}")
    list(POP_FRONT _patterns _entry_rank)
    foreach(_pattern IN LISTS _patterns)
      _pattern_regex("${_pattern}" _regex)
      string(LENGTH "${_pattern}" _length)
      if(path MATCHES "${_regex}" AND _length GREATER _longest)
        set(_unit ${_index})
        set(_match "${_pattern}")
        set(_rank "${_entry_rank}")
        set(_longest ${_length})
      endif()
    endforeach()
    math(EXPR _index "${_index} + 1")
  endforeach()
  set(${out_unit} "${_unit}" PARENT_SCOPE)
  set(${out_pattern} "${_match}" PARENT_SCOPE)
  set(${out_rank} "${_rank}" PARENT_SCOPE)
endfunction()

set(_platform_regexes "")
foreach(_header IN LISTS _platform_headers)
  _pattern_regex("${_header}" _regex)
  list(APPEND _platform_regexes "${_regex}")
endforeach()

# Appends "file:line: include: why" to _violations.
function(_report file line why)
  file(READ "${KYROX_SOURCE_DIR}/${file}" _text)
  string(FIND "${_text}" "${line}" _at)
  string(SUBSTRING "${_text}" 0 ${_at} _before)
  string(REGEX MATCHALL "\n" _breaks "${_before}")
  list(LENGTH _breaks _line_number)
  math(EXPR _line_number "${_line_number} + 1")
  string(STRIP "${line}" _shown)
  set(_violations "${_violations}  ${file}:${_line_number}: ${_shown}: ${why}\n" PARENT_SCOPE)
endfunction()

set(_violations "")
foreach(_tree IN LISTS _trees)
  set(_root "${_${_tree}_root}")
  # The files to read: the tree's own and those in its users' folders.
  set(_folders "${_root}")
  foreach(_entry IN LISTS _${_tree}_users)
    string(REPLACE " " ";" _patterns "${_entry}")
    list(POP_FRONT _patterns _limit)
    list(TRANSFORM _patterns REPLACE "[^/]+$" "")
    list(APPEND _folders ${_patterns})
  endforeach()
  set(_files "")
  foreach(_folder IN LISTS _folders)
    file(GLOB_RECURSE _found LIST_DIRECTORIES false RELATIVE "${KYROX_SOURCE_DIR}" "${KYROX_SOURCE_DIR}/${_folder}*.h"
         "${KYROX_SOURCE_DIR}/${_folder}*.cpp" "${KYROX_SOURCE_DIR}/${_folder}*.rc")
    list(APPEND _files ${_found})
  endforeach()
  list(REMOVE_DUPLICATES _files)

  foreach(_file IN LISTS _files)
    # A file of the tree has a unit and a rank, a user's file a limit.
    set(_rank "")
    set(_limit "")
    string(FIND "${_file}" "${_root}" _at)
    if(_at EQUAL 0)
      _unit_of("${_file}" "${_${_tree}_units}" _unit _pattern _rank)
      if(_pattern STREQUAL "")
        string(APPEND _violations "  ${_file}: no rank in the ${_tree} table\n")
        continue()
      endif()
    else()
      _unit_of("${_file}" "${_${_tree}_users}" _unit _pattern _limit)
      if(_pattern STREQUAL "")
        continue()
      endif()
    endif()
    list(FIND _${_tree}_portable "${_pattern}" _portable)
    get_filename_component(_folder "${_file}" DIRECTORY)
    file(STRINGS "${KYROX_SOURCE_DIR}/${_file}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(_line IN LISTS _includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]*).*$" "\\1\\2" _written "${_line}")
      string(SUBSTRING "${_written}" 1 -1 _header)
      # A header named from the including file's folder counts by where it lies.
      if(_written MATCHES "^\"" AND EXISTS "${KYROX_SOURCE_DIR}/${_folder}/${_header}")
        file(REAL_PATH "${_folder}/${_header}" _resolved BASE_DIRECTORY "${KYROX_SOURCE_DIR}")
        file(RELATIVE_PATH _header "${KYROX_SOURCE_DIR}" "${_resolved}")
      endif()
      if(NOT _portable EQUAL -1)
        string(TOLOWER "${_header}" _lower)
        foreach(_regex IN LISTS _platform_regexes)
          if(_lower MATCHES "${_regex}")
            _report("${_file}" "${_line}" "${_pattern} is portable and includes no platform header")
            break()
          endif()
        endforeach()
      endif()
      string(FIND "${_header}" "${_root}" _at)
      if(NOT _at EQUAL 0)
        continue()
      endif()
      _unit_of("${_header}" "${_${_tree}_units}" _header_unit _header_pattern _header_rank)
      set(_against "${_header_pattern} (rank ${_header_rank})")
      if(_header_pattern STREQUAL "")
        _report("${_file}" "${_line}" "the header has no rank in the ${_tree} table")
      elseif(NOT _limit STREQUAL "" AND _header_rank GREATER _limit)
        _report("${_file}" "${_line}" "${_pattern} includes up to rank ${_limit}, not ${_against}")
      elseif(NOT _rank STREQUAL "" AND NOT _header_unit EQUAL _unit AND NOT _header_rank LESS _rank)
        _report("${_file}" "${_line}" "${_pattern} (rank ${_rank}) may not include ${_against}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(_violations)
  message(FATAL_ERROR "Includes against the layer direction:\n${_violations}")
endif()
message(STATUS "Include direction holds")
