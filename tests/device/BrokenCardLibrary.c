/* A card library file that lacks most calls: the loader must name the
 * first missing one. */
#include "device/tavl.h"

uint32_t TAVL_GetInterfaceVersion(void) { return TAVL_INTERFACE_VERSION; }
int32_t TAVL_Init(const char *identity, int32_t reserved)
{
  (void)identity;
  (void)reserved;
  return 1;
}
