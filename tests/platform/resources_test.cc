// Resource lookup in the running executable (linked from resources/test.rc):
// by type and name without regard to case, the bytes in place, an empty
// resource found with size 0, a missing one reported.
#include <string>

#include "gtest/gtest.h"
#include "platform/platform.h"

namespace {

std::string Bytes(const platform::Resource& resource) {
  return std::string(reinterpret_cast<const char*>(resource.data), resource.size);
}

TEST(ResourcesTest, FindsByTypeAndNameIgnoringCase) {
  platform::Platform& host = *platform::Platform::Default();
  for (const char* name : {"SAMPLE", "sample", "Sample"}) {
    platform::Resource resource;
    ASSERT_TRUE(host.FindResource("file", name, &resource)) << name;
    EXPECT_EQ(Bytes(resource), "sample resource bytes\r\n");
  }
  platform::Resource other;
  ASSERT_TRUE(host.FindResource("Data", "other", &other));
  EXPECT_EQ(Bytes(other), "sample resource bytes\r\n");
}

TEST(ResourcesTest, BytesStayInPlace) {
  platform::Platform& host = *platform::Platform::Default();
  platform::Resource first;
  platform::Resource second;
  ASSERT_TRUE(host.FindResource("FILE", "SAMPLE", &first));
  ASSERT_TRUE(host.FindResource("FILE", "sample", &second));
  EXPECT_EQ(first.data, second.data);
}

TEST(ResourcesTest, EmptyResourceHasSizeZero) {
  platform::Resource resource;
  ASSERT_TRUE(platform::Platform::Default()->FindResource("FILE", "EMPTY", &resource));
  EXPECT_EQ(resource.size, 0u);
}

TEST(ResourcesTest, MissingNameOrTypeIsReported) {
  platform::Platform& host = *platform::Platform::Default();
  platform::Resource resource;
  EXPECT_FALSE(host.FindResource("FILE", "SAMPL", &resource));
  EXPECT_FALSE(host.FindResource("FILE", "SAMPLES", &resource));
  EXPECT_FALSE(host.FindResource("FILE", "OTHER", &resource));
  EXPECT_FALSE(host.FindResource("DATA", "SAMPLE", &resource));
}

}  // namespace
