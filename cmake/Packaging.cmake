# What a Windows user downloads: a portable ZIP and a per-user installer (NSIS). Both hold the
# stripped DeskBroom.exe, the help document, an empty filter file and a plain-text read-me, and
# both are built with DeskBroom.exe (target `packages`), with SHA256SUMS and the package managers'
# manifests beside them. cmake/Release.cmake does the work; see there for what keeps it
# reproducible.

set(release_name "DeskBroom-${PROJECT_VERSION}-win64")
# Where the packages will be published: {version} and {file} are filled in for each download.
set(DESKBROOM_RELEASE_URL "https://example.invalid/deskbroom/releases/download/v{version}/{file}"
    CACHE STRING "Download address of a published package ({version} and {file} are replaced)")
set(DESKBROOM_HOMEPAGE "https://example.invalid/deskbroom" CACHE STRING "The project's home page")

set(release_files "${CMAKE_BINARY_DIR}/release-files")
# CR LF: the read-me is opened in Notepad.
configure_file("${PROJECT_SOURCE_DIR}/packaging/ReadMe.txt.in" "${release_files}/ReadMe.txt" @ONLY
               NEWLINE_STYLE CRLF)
# The packages' filter file, empty; an installed copy keeps the user's own.
file(WRITE "${release_files}/WindowsFilter.txt" "")

install(TARGETS DeskBroom RUNTIME DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/docs/DeskBroom.doc" "${release_files}/WindowsFilter.txt"
              "${release_files}/ReadMe.txt" DESTINATION .)

set(release_zip "${CMAKE_BINARY_DIR}/${release_name}.zip")
set(release_setup "${CMAKE_BINARY_DIR}/${release_name}-setup.exe")
set(release_sums "${CMAKE_BINARY_DIR}/SHA256SUMS")

find_program(MAKENSIS makensis REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_package(Git)
configure_file("${PROJECT_SOURCE_DIR}/packaging/DeskBroom.nsi.in" "${CMAKE_BINARY_DIR}/DeskBroom.nsi"
               @ONLY)
file(GLOB manifest_templates CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/packaging/winget/*.in"
     "${PROJECT_SOURCE_DIR}/packaging/scoop/*.in")
add_custom_command(OUTPUT "${release_zip}" "${release_setup}" "${release_sums}"
    COMMAND "${CMAKE_COMMAND}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}" "-DBUILD_DIR=${CMAKE_BINARY_DIR}"
            "-DRELEASE_NAME=${release_name}" "-DVERSION=${PROJECT_VERSION}"
            "-DRELEASE_URL=${DESKBROOM_RELEASE_URL}"
            "-DHOMEPAGE=${DESKBROOM_HOMEPAGE}" "-DMAKENSIS=${MAKENSIS}"
            "-DPYTHON=${Python3_EXECUTABLE}" "-DGIT=${GIT_EXECUTABLE}"
            -P "${PROJECT_SOURCE_DIR}/cmake/Release.cmake"
    DEPENDS DeskBroom "${PROJECT_SOURCE_DIR}/docs/DeskBroom.doc" "${release_files}/ReadMe.txt"
            "${CMAKE_BINARY_DIR}/DeskBroom.nsi" "${PROJECT_SOURCE_DIR}/cmake/Release.cmake"
            "${PROJECT_SOURCE_DIR}/packaging/make_zip.py"
            "${PROJECT_SOURCE_DIR}/src/app/resources/deskbroom.ico" ${manifest_templates}
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}"
    COMMENT "Packing ${release_name}.zip and ${release_name}-setup.exe")

add_custom_target(packages ALL DEPENDS "${release_zip}" "${release_setup}" "${release_sums}")
