# What a Windows user downloads: a portable ZIP (CPack) and a per-user installer (NSIS). Both hold
# the stripped DeskBroom.exe, the help document, an empty filter file and a plain-text read-me,
# and both are built with DeskBroom.exe (target `packages`).

set(release_name "DeskBroom-${PROJECT_VERSION}-win64")
set(release_files "${CMAKE_BINARY_DIR}/release-files")
# CR LF: the read-me is opened in Notepad.
configure_file("${PROJECT_SOURCE_DIR}/packaging/ReadMe.txt.in" "${release_files}/ReadMe.txt" @ONLY
               NEWLINE_STYLE CRLF)
file(WRITE "${release_files}/WindowsFilter.txt" "")

install(TARGETS DeskBroom RUNTIME DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/docs/DeskBroom.doc" "${release_files}/WindowsFilter.txt"
              "${release_files}/ReadMe.txt" DESTINATION .)

# The portable ZIP: the files at its top, so that "Extract All" gives one folder that runs as is.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME DeskBroom)
set(CPACK_PACKAGE_VENDOR "DeskBroom developers")
set(CPACK_PACKAGE_FILE_NAME "${release_name}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)

set(release_zip "${CMAKE_BINARY_DIR}/${release_name}.zip")
set(release_setup "${CMAKE_BINARY_DIR}/${release_name}-setup.exe")
set(release_stage "${CMAKE_BINARY_DIR}/release-stage")
set(release_inputs DeskBroom "${PROJECT_SOURCE_DIR}/docs/DeskBroom.doc" "${release_files}/ReadMe.txt")

add_custom_command(OUTPUT "${release_zip}"
    COMMAND "${CMAKE_CPACK_COMMAND}" -G ZIP --config "${CMAKE_BINARY_DIR}/CPackConfig.cmake"
    DEPENDS ${release_inputs}
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}"
    COMMENT "Packing ${release_name}.zip")

# The installer: NSIS's makensis, a 64-bit Unicode installer of the same stripped files.
find_program(MAKENSIS makensis REQUIRED)
configure_file("${PROJECT_SOURCE_DIR}/packaging/DeskBroom.nsi.in" "${CMAKE_BINARY_DIR}/DeskBroom.nsi"
               @ONLY)
add_custom_command(OUTPUT "${release_setup}"
    COMMAND "${CMAKE_COMMAND}" -E rm -rf "${release_stage}"
    COMMAND "${CMAKE_COMMAND}" --install "${CMAKE_BINARY_DIR}" --prefix "${release_stage}" --strip
    COMMAND "${MAKENSIS}" -V2 -WX -NOCD "-DSTAGE=${release_stage}" "-DOUTFILE=${release_setup}"
            "${CMAKE_BINARY_DIR}/DeskBroom.nsi"
    DEPENDS ${release_inputs} "${CMAKE_BINARY_DIR}/DeskBroom.nsi"
            "${PROJECT_SOURCE_DIR}/src/app/resources/deskbroom.ico"
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}"
    COMMENT "Building ${release_name}-setup.exe")

add_custom_target(packages ALL DEPENDS "${release_zip}" "${release_setup}")
