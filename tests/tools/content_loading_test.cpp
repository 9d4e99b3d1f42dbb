// The generated models load through Model::load in a GL context: every material gets a texture
// from its skin and the mesh compiles into a display list.
#include <gtest/gtest.h>

#include "assets/model.h"
#include "content_test_support.h"
#include "platform/message_box.h"
#include "support/gl_fixture.h"

namespace {

class ContentModelLoading : public testing_support::GlTest {};

TEST_F(ContentModelLoading, EveryModelLoadsWithTexturesForAllItsSkins) {
  const std::string& folder = content_testing::GeneratedDataFolder();
  ASSERT_FALSE(folder.empty());
  std::vector<std::string> messages;
  platform::SetMessageBoxHandler(
      [&](const std::string& text, const std::string&, platform::Buttons, platform::Icon) {
        messages.push_back(text);
        return platform::Answer::Ok;
      });
  for (const std::string& name : content_testing::GameModelNames()) {
    Model model;
    ASSERT_TRUE(model.load((folder + "/" + name).c_str())) << name;
    EXPECT_NE(model.displayList, 0u) << name;
    EXPECT_GT(model.triangleCount(), 50) << name;
    ASSERT_GE(model.materialCount(), 1) << name;
    for (const ModelMaterial& m : model.materials) {
      EXPECT_EQ(std::string(m.texture).rfind(folder + "/", 0), 0u) << name << ": " << m.texture;
      EXPECT_NE(m.textureId, 0u) << name << ": " << m.texture;
    }
    for (const ModelGroup& g : model.groups) EXPECT_GT(g.triangleIndices.size(), 0u) << name;
  }
  platform::SetMessageBoxHandler(nullptr);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

}  // namespace
