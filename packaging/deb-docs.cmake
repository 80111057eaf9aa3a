# Run by cpack on the staged install before it builds the Debian package:
# compresses the manual page and adds the copyright file (from LICENSE) and
# the changelog, as Debian's rules for a package ask. Other generators get
# the install as it is.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(source "${CPACK_VENOSKAL_SOURCE_DIR}")
set(usr "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${usr}/share/doc/${CPACK_PACKAGE_NAME}")

# The changelog and the manual page must name the version being packaged.
file(STRINGS "${source}/packaging/changelog" latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog does not begin with version ${CPACK_PACKAGE_VERSION}: ${latest}")
endif()
file(STRINGS "${source}/venoskal.1" os REGEX "^\\.Os ")
if(NOT os STREQUAL ".Os ${CPACK_PACKAGE_NAME} ${CPACK_PACKAGE_VERSION}")
  message(FATAL_ERROR "venoskal.1 should say .Os ${CPACK_PACKAGE_NAME} ${CPACK_PACKAGE_VERSION}, not ${os}")
endif()

file(MAKE_DIRECTORY "${doc}")
file(READ "${source}/LICENSE" licence)
file(WRITE "${doc}/copyright"
     "venoskal is distributed under the following licence.\n\n${licence}")
file(COPY_FILE "${source}/packaging/changelog" "${doc}/changelog")
# -n keeps the name and time out of the gzip header, so that the package
# does not change with the time it was built.
execute_process(COMMAND gzip -9n "${doc}/changelog" "${usr}/share/man/man1/venoskal.1"
                COMMAND_ERROR_IS_FATAL ANY)
file(CHMOD_RECURSE "${usr}/share/doc" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
     GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
