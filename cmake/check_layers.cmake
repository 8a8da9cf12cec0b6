# cmake -DKYROX_SOURCE_DIR=<source> -P check_layers.cmake
# Fails when a file includes a plug-in header against the layer direction. The layers, lowest first:
# platform services and the plain-number resource headers, the noise, the renderer, the host side.
# A plug-in folder includes only its own layer and those below it; a test folder only the layer it
# tests and those below; the small host's library only the host interface (its CLI may use it all).
cmake_minimum_required(VERSION 3.25)

set(_rank_platform 0)
set(_rank_resources 0)
set(_rank_noise 1)
set(_rank_render 2)
set(_rank_host 3)

# Highest layer each folder may include, relative to the source root; -1 allows none.
set(_limits
  plugin/resources=0 plugin/platform=0 plugin/noise=1 plugin/render=2 plugin/host=3
  tests/platform=0 tests/noise=1 tests/render=2 tests/host=3 tests/windows=0
  minihost=-1 tests/minihost=-1)

set(_violations "")
foreach(_entry IN LISTS _limits)
  string(REPLACE "=" ";" _pair "${_entry}")
  list(GET _pair 0 _folder)
  list(GET _pair 1 _limit)
  file(GLOB_RECURSE _files LIST_DIRECTORIES false
       "${KYROX_SOURCE_DIR}/${_folder}/*.h" "${KYROX_SOURCE_DIR}/${_folder}/*.cpp" "${KYROX_SOURCE_DIR}/${_folder}/*.rc")
  foreach(_file IN LISTS _files)
    file(RELATIVE_PATH _relative "${KYROX_SOURCE_DIR}" "${_file}")
    # The CLI is the one part of the small host's folder that builds the plug-in's code in.
    if(_relative MATCHES "^minihost/cli/")
      continue()
    endif()
    file(STRINGS "${_file}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"plugin/")
    foreach(_line IN LISTS _includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"plugin/([a-z_]+)/.*$" "\\1" _layer "${_line}")
      if(NOT DEFINED _rank_${_layer} OR _rank_${_layer} GREATER _limit)
        string(APPEND _violations "  ${_relative}: ${_line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(_violations)
  message(FATAL_ERROR "Includes against the layer direction:\n${_violations}")
endif()
message(STATUS "Include direction holds")
