// RunApplication: start the host, run the body, turn an escaping failure into
// the report and exit code 1. Catching here unwinds the body first, so every
// pending clean-up has run before the report appears.
#include "platform/application.h"

#include <exception>
#include <new>

#include "platform/host.h"

namespace platform {

int ReportAndExitCode(Platform& host, const Exception& failure) {
  host.ReportUncaught(failure);
  return 1;
}

int RunApplication(void (*body)(Platform& host)) {
  Platform* host = StartHost();
  try {
    body(*host);
  } catch (const Exception& failure) {
    return ReportAndExitCode(*host, failure);
  } catch (const std::bad_alloc&) {
    return ReportAndExitCode(*host, EOutOfMemory("Speicher reicht nicht aus"));
  } catch (const std::exception& failure) {
    return ReportAndExitCode(*host, Exception(failure.what()));
  }
  return 0;
}

}  // namespace platform
