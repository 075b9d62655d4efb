# The test that stands for a missing tool (see required_tools.cmake): it fails, saying what to
# install. Run with cmake -DPROGRAM=... -DPACKAGE=... -P.
message(FATAL_ERROR "${PROGRAM} is missing: apt-get install ${PACKAGE} "
                    "(scripts/install-deps installs it)")
