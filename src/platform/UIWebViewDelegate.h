#pragma once
#include <string>

class NSError;
class UIWebView;

enum UIWebViewNavigationType {
  UIWebViewNavigationTypeLinkClicked = 0,
  UIWebViewNavigationTypeOther = 5
};

// Told how a web view's loads go. Every operation has a default that does nothing.
class UIWebViewDelegate {
 public:
  virtual ~UIWebViewDelegate() = default;
  // shouldStartLoadWithRequest: false keeps the page that is shown.
  virtual bool webView(UIWebView*, const std::string& /*request*/, UIWebViewNavigationType) {
    return true;
  }
  virtual void webViewDidStartLoad(UIWebView*) {}
  virtual void webViewDidFinishLoad(UIWebView*) {}
  // didFailLoadWithError:
  virtual void webView(UIWebView*, NSError* /*error*/) {}
};
