# Builds the packages from the installed files (cmake -P, called by the `packages` target):
# the portable ZIP, the installer, SHA256SUMS and the winget and Scoop manifests.
#
# Reproducible: every file time in the packages is the commit's time (SOURCE_DATE_EPOCH when set,
# else `git log -1 --format=%ct`), the ZIP's entries come in a fixed order, and makensis gets the
# same time, so two clean builds of one commit give the same bytes.

set(stage "${BUILD_DIR}/release-stage")
set(zip "${RELEASE_NAME}.zip")
set(setup "${RELEASE_NAME}-setup.exe")
set(files DeskBroom.exe DeskBroom.doc ReadMe.txt WindowsFilter.txt)

function(run)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${BUILD_DIR}" RESULT_VARIABLE failed)
    if(failed)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "failed (${failed}): ${command}")
    endif()
endfunction()

if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(epoch "$ENV{SOURCE_DATE_EPOCH}")
elseif(GIT)
    execute_process(COMMAND "${GIT}" log -1 --format=%ct WORKING_DIRECTORY "${SOURCE_DIR}"
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "no commit time: set SOURCE_DATE_EPOCH or build from a git checkout")
endif()
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
set(ENV{TZ} UTC)

file(REMOVE_RECURSE "${stage}")
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${stage}")
foreach(file IN LISTS files)
    run(touch -d "@${epoch}" "${stage}/${file}")
endforeach()

run("${PYTHON}" "${SOURCE_DIR}/packaging/make_zip.py" "${BUILD_DIR}/${zip}" "${epoch}" "${stage}"
    ${files})
run("${MAKENSIS}" -V2 -WX -NOCD "-DSTAGE=${stage}" "-DOUTFILE=${BUILD_DIR}/${setup}"
    "${BUILD_DIR}/DeskBroom.nsi")

# SHA256SUMS in sha256sum's form (hash, two blanks, name), and the manifests with the same hashes.
file(SHA256 "${BUILD_DIR}/${zip}" ZIP_SHA256)
file(SHA256 "${BUILD_DIR}/${setup}" SETUP_SHA256)
file(WRITE "${BUILD_DIR}/SHA256SUMS" "${ZIP_SHA256}  ${zip}\n${SETUP_SHA256}  ${setup}\n")
string(TOUPPER "${ZIP_SHA256}" ZIP_SHA256_UPPER)
string(TOUPPER "${SETUP_SHA256}" SETUP_SHA256_UPPER)
string(REPLACE "{version}" "${VERSION}" url "${RELEASE_URL}")
string(REPLACE "{file}" "${zip}" ZIP_URL "${url}")
string(REPLACE "{file}" "${setup}" SETUP_URL "${url}")
file(GLOB templates "${SOURCE_DIR}/packaging/winget/*.in" "${SOURCE_DIR}/packaging/scoop/*.in")
file(REMOVE_RECURSE "${BUILD_DIR}/winget" "${BUILD_DIR}/scoop")
foreach(template IN LISTS templates)
    get_filename_component(kind "${template}" DIRECTORY)
    get_filename_component(kind "${kind}" NAME)
    get_filename_component(name "${template}" NAME)
    string(REGEX REPLACE "\\.in$" "" name "${name}")
    configure_file("${template}" "${BUILD_DIR}/${kind}/${name}" @ONLY)
endforeach()
