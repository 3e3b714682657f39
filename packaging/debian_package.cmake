# The Debian package of what the install rules install: `cpack` in the build
# folder writes vexa-t-setup_<version>_<architecture>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexa-t-setup)
set(CPACK_PACKAGE_VENDOR "The Vexa-T_Setup developers")
set(CPACK_PACKAGE_CONTACT
    "Seed 5ad02e70 maintainers <maintainers@users.noreply.c-seed-5ad02e70.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "setup tool for Vexa model T temperature data loggers")
set(CPACK_PACKAGE_DESCRIPTION
    "With this desktop tool a field engineer configures the Vexa GSM/GPRS data
logger, model T (multipoint temperature): reads its parameters into tabbed
pages, writes settings back one at a time, queries its status and stored
records, keeps a phone book of the installed loggers with their passwords,
and replays one logger's setup on further loggers in a batch, saved to and
loaded from configuration files.

The PC reaches the logger over a serial cable or through a GSM modem on a
serial port (the user must be in the dialout group). A simulated logger is
built in, and logger-sim serves it to any serial program. The command line
vexa-t reads, saves, compares and writes a logger's settings from scripts,
with JSON output and documented exit statuses.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Depends: from the shared libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
