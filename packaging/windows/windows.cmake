# The Windows build: hvr.exe and hvr-cli.exe with their icon and version, and the tests of the
# core built as a Windows program, to be run under Wine. Deployment (Qt's libraries and
# plugins beside the programs, the installer) is scripts/windows/build.sh's.

# The icon, drawn from the same picture as on Linux.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)
set(hvr_icon ${CMAKE_CURRENT_BINARY_DIR}/hvr.ico)
set(hvr_icon_pngs)
foreach(size 16 24 32 48 64 256)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icon/hvr-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icon
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_CURRENT_SOURCE_DIR}/packaging/hvr.svg
    DEPENDS packaging/hvr.svg)
  list(APPEND hvr_icon_pngs ${png})
endforeach()
add_custom_command(OUTPUT ${hvr_icon}
  COMMAND ${ICOTOOL} -c -o ${hvr_icon} ${hvr_icon_pngs}
  DEPENDS ${hvr_icon_pngs})

# A version resource and the icon for each program, in UTF-8.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
function(hvr_windows_resource target description)
  set(HVR_RC_ICON ${hvr_icon})
  set(HVR_RC_NAME ${target})
  set(HVR_RC_DESCRIPTION ${description})
  string(REPLACE "." "," HVR_RC_VERSION_COMMAS "${PROJECT_VERSION}")
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows/program.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES OBJECT_DEPENDS ${hvr_icon})
endfunction()

set_target_properties(hvr PROPERTIES WIN32_EXECUTABLE ON)
hvr_windows_resource(hvr "无线高压变比监控软件")
hvr_windows_resource(hvr-cli "无线高压变比监控软件 (命令行)")

install(TARGETS hvr hvr-cli RUNTIME DESTINATION .)

# The tests that run under Wine: the Qt-free core (link, records, units, verdict, report
# layout, forms), the archive on SQLite, the file system and the serial port's contract, with
# GoogleTest built from Debian's sources.
if(BUILD_TESTING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(tests ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  add_executable(hvr_windows_tests
    ${tests}/analysis/error_analysis_form_test.cpp
    ${tests}/analysis/report_layout_test.cpp
    ${tests}/archive/open_archived_test.cpp
    ${tests}/calculator/form4_test.cpp
    ${tests}/cli/options_test.cpp
    ${tests}/cli/patience_test.cpp
    ${tests}/cli/monitor_output_test.cpp
    ${tests}/link/dispatcher_test.cpp
    ${tests}/link/download_test.cpp
    ${tests}/link/link_control_test.cpp
    ${tests}/link/live_decode_test.cpp
    ${tests}/link/protocol_test.cpp
    ${tests}/link/random_chunks_test.cpp
    ${tests}/link/request_line_test.cpp
    ${tests}/link/statistics_test.cpp
    ${tests}/link/supervision_test.cpp
    ${tests}/main_window/alarm_limits_test.cpp
    ${tests}/main_window/curve_chart_test.cpp
    ${tests}/main_window/window_commands_test.cpp
    ${tests}/platform/archive_address_test.cpp
    ${tests}/platform/file_system_test.cpp
    ${tests}/platform/port_table_test.cpp
    ${tests}/platform/serial_port_contract_test.cpp
    ${tests}/print/form3_test.cpp
    ${tests}/print/sheet_layout_test.cpp
    ${tests}/records/clear_test.cpp
    ${tests}/records/group_csv_test.cpp
    ${tests}/records/listing_test.cpp
    ${tests}/records/paging_test.cpp
    ${tests}/records/row_format_test.cpp
    ${tests}/records/sorting_test.cpp
    ${tests}/sim/instrument_test.cpp
    ${tests}/splash/form2_test.cpp
    ${tests}/units/number_text_test.cpp
    ${tests}/verdict/verdict_test.cpp
    ${tests}/archive/archive_test.cpp
    ${tests}/support/qt_test_main.cpp
  )
  target_include_directories(hvr_windows_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(hvr_windows_tests PRIVATE HVR_TEST_DATA="Z:${tests}/data" HVR_SIM_PATH="")
  target_link_libraries(hvr_windows_tests PRIVATE hvr_core hvr_cli_core hvr_sim_core hvr_qt hvr_qt_archive gtest)
endif()
