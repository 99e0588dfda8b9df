#include "UINib.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <set>
#include <vector>

#include "NSBundle.h"
#include "NSData.h"
#include "UIButton.h"
#include "UIImageView.h"
#include "UIViewController.h"
#include "UIWebView.h"

namespace {
using nlohmann::json;

constexpr std::size_t kMaxLayoutBytes = 256 << 10;

// Thrown while building; the message names the place in the layout.
struct LayoutError {
  std::string message;
};

void require(bool condition, const std::string& where, const std::string& what) {
  if (!condition) throw LayoutError{where + ": " + what};
}

float number(const json& value, const std::string& where) {
  require(value.is_number(), where, "a number is expected");
  return value.get<float>();
}

CGRect frameOf(const json& value, const std::string& where) {
  require(value.is_array() && value.size() == 4, where, "frame must be [x, y, width, height]");
  const CGRect r = CGRectMake(number(value[0], where), number(value[1], where),
                              number(value[2], where), number(value[3], where));
  require(r.size.width >= 0 && r.size.height >= 0, where, "frame size must not be negative");
  return r;
}

UIColor colorOf(const json& value, const std::string& where) {
  const std::string text = value.is_string() ? value.get<std::string>() : "";
  const bool ok = (text.size() == 7 || text.size() == 9) && text[0] == '#' &&
                  text.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
  require(ok, where, "backgroundColor must be \"#rrggbb\" or \"#rrggbbaa\"");
  auto channel = [&](std::size_t i) {
    return float(std::stoi(text.substr(i, 2), nullptr, 16)) / 255;
  };
  return UIColor{channel(1), channel(3), channel(5), text.size() == 9 ? channel(7) : 1.0f};
}

Ptr<UIImage> imageOf(const json& value, const std::string& where, const NSBundle& bundle) {
  require(value.is_string(), where, "image must be a resource name");
  const std::string path = bundle.pathForResource(value.get<std::string>(), "");
  // A missing picture leaves the view empty, as on the device.
  return path.empty() ? nullptr : UIImage::imageWithContentsOfFile(path);
}

// One view of the tree and the connections it asks for, made once the whole tree is sound.
class Builder {
 public:
  Builder(UIViewController* owner, const NSBundle& bundle) : owner_(owner), bundle_(bundle) {}

  Ptr<UIView> build(const json& node, const std::string& where) {
    require(node.is_object(), where, "a view must be an object");
    static const std::set<std::string> known = {
        "class",  "frame",  "tag",      "alpha",   "hidden",   "image",
        "outlet", "action", "delegate", "request", "subviews", "backgroundColor"};
    for (const auto& [key, value] : node.items())
      require(known.count(key) != 0, where, "unknown key \"" + key + "\"");
    require(node.contains("class") && node["class"].is_string(), where, "class is required");
    require(node.contains("frame"), where, "frame is required");
    const std::string cls = node["class"].get<std::string>();
    const CGRect frame = frameOf(node["frame"], where);
    Ptr<UIView> view = make(cls, frame, where);
    apply(node, view.get(), cls, where);
    if (node.contains("subviews")) {
      require(node["subviews"].is_array(), where, "subviews must be a list");
      for (std::size_t i = 0; i < node["subviews"].size(); ++i)
        view->addSubview(
            build(node["subviews"][i], where + ".subviews[" + std::to_string(i) + "]").get());
    }
    return view;
  }

  // Outlets first, as only they can fail (and are undone then); then
  // actions and delegates; page loads last, once everything is connected.
  void connect() {
    std::vector<std::string> set;
    try {
      for (auto& [name, view, where] : outlets_) {
        require(owner_->setOutlet(name, view.get()), where,
                "the owner has no outlet " + name + " for a " + view->className());
        set.push_back(name);
      }
    } catch (const LayoutError&) {
      for (const auto& name : set) owner_->setOutlet(name, nullptr);
      throw;
    }
    for (auto& step : connections_) step();
    for (auto& step : loads_) step();
  }

 private:
  struct Outlet {
    std::string name;
    Ptr<UIView> view;
    std::string where;
  };
  UIViewController* owner_;
  const NSBundle& bundle_;
  std::vector<Outlet> outlets_;
  std::vector<std::function<void()>> connections_, loads_;

  Ptr<UIView> make(const std::string& cls, CGRect frame, const std::string& where) {
    if (cls == "UIView") return makeObject<UIView>(frame);
    if (cls == "UIImageView") return makeObject<UIImageView>(frame);
    if (cls == "UIButton") return makeObject<UIButton>(frame);
    if (cls == "UIWebView") return makeObject<UIWebView>(frame);
    throw LayoutError{where + ": unknown class " + cls};
  }

  void apply(const json& node, UIView* view, const std::string& cls, const std::string& where) {
    if (node.contains("tag")) {
      require(node["tag"].is_number_integer(), where, "tag must be a whole number");
      view->setTag(node["tag"].get<int>());
    }
    if (node.contains("alpha")) view->setAlpha(number(node["alpha"], where));
    if (node.contains("hidden")) {
      require(node["hidden"].is_boolean(), where, "hidden must be true or false");
      view->setHidden(node["hidden"].get<bool>());
    }
    if (node.contains("backgroundColor"))
      view->setBackgroundColor(colorOf(node["backgroundColor"], where));
    if (node.contains("image")) setImage(node["image"], view, cls, where);
    if (node.contains("outlet")) outlet(node["outlet"], view, where);
    if (node.contains("action")) action(node["action"], view, cls, where);
    if (node.contains("delegate")) delegate(node["delegate"], view, cls, where);
    if (node.contains("request")) request(node["request"], view, cls, where);
  }

  void setImage(const json& value, UIView* view, const std::string& cls, const std::string& where) {
    Ptr<UIImage> image = imageOf(value, where, bundle_);
    if (cls == "UIImageView")
      static_cast<UIImageView*>(view)->setImage(image.get());
    else if (cls == "UIButton")
      static_cast<UIButton*>(view)->setImage(image.get());
    else
      throw LayoutError{where + ": a " + cls + " shows no image"};
  }

  void outlet(const json& value, UIView* view, const std::string& where) {
    require(value.is_string(), where, "outlet must be a name");
    const std::string name = value.get<std::string>();
    require(owner_ != nullptr, where, "outlet " + name + " without an owner");
    outlets_.push_back({name, view, where});
  }

  void action(const json& value, UIView* view, const std::string& cls, const std::string& where) {
    require(cls == "UIButton", where, "only a button has an action");
    require(value.is_string(), where, "action must be a name");
    require(owner_ != nullptr, where, "action without an owner");
    const Selector<> sel = owner_->actionNamed(value.get<std::string>());
    require(bool(sel), where, "the owner has no action " + value.get<std::string>());
    Ptr<UIButton> button(static_cast<UIButton*>(view));
    connections_.push_back(
        [this, button, sel] { button->addTarget(owner_, sel, UIControlEventTouchUpInside); });
  }

  void delegate(const json& value, UIView* view, const std::string& cls, const std::string& where) {
    require(cls == "UIWebView", where, "only a web view has a delegate");
    require(value == "owner", where, "delegate must be \"owner\"");
    auto* webDelegate = dynamic_cast<UIWebViewDelegate*>(owner_);
    require(webDelegate != nullptr, where, "the owner is no web view delegate");
    Ptr<UIWebView> web(static_cast<UIWebView*>(view));
    connections_.push_back([web, webDelegate] { web->setDelegate(webDelegate); });
  }

  void request(const json& value, UIView* view, const std::string& cls, const std::string& where) {
    require(cls == "UIWebView", where, "only a web view loads a request");
    require(value.is_string(), where, "request must be a page name");
    Ptr<UIWebView> web(static_cast<UIWebView*>(view));
    const std::string url = value.get<std::string>();
    loads_.push_back([web, url] { web->loadRequest(url); });
  }
};
}  // namespace

Ptr<UINib> UINib::nibWithNibName(const std::string& name, const NSBundle& bundle,
                                 std::string& error) {
  const std::string path = bundle.pathForResource(name, "json");
  if (path.empty()) {
    error = "layout " + name + ".json not found";
    return nullptr;
  }
  auto text = NSData::dataWithContentsOfFile(path, kMaxLayoutBytes);
  if (!text) {
    error = "layout " + path + " cannot be read";
    return nullptr;
  }
  auto nib = Ptr<UINib>::adopt(new UINib());
  nib->name_ = name;
  nib->bundle_ = &bundle;
  nib->text_ = std::move(*text);
  return nib;
}

Ptr<UIView> UINib::instantiateWithOwner(UIViewController* owner, std::string& error) const {
  const json root = json::parse(text_, nullptr, false);
  if (root.is_discarded()) {
    error = "layout " + name_ + ": not valid JSON";
    return nullptr;
  }
  try {
    require(root.is_object() && root.contains("view"), name_, "the top-level \"view\" is missing");
    Builder builder(owner, *bundle_);
    Ptr<UIView> view = builder.build(root["view"], name_ + ": view");
    builder.connect();
    return view;
  } catch (const LayoutError& e) {
    error = "layout " + e.message;
    return nullptr;
  } catch (const json::exception& e) {
    error = "layout " + name_ + ": " + e.what();
    return nullptr;
  }
}
