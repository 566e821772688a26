#include "framework/form_parser.h"

#include "framework/form_lexer.h"
#include "framework/sysutils.h"

namespace fw {

namespace {

class Parser {
 public:
  Parser(std::string_view text, const std::string& label) : lex_(text, label) {}

  TObjectNode Description() {
    if (!IsObjectKeyword(lex_.Peek())) lex_.Fail(lex_.Peek().line, "expected \"object\", found " + Found(lex_.Peek()));
    TObjectNode root = Object(1);
    if (lex_.Peek().kind != TTokenKind::End)
      lex_.Fail(lex_.Peek().line, "unexpected " + Found(lex_.Peek()) + " after the end of " + Title(root));
    return root;
  }

 private:
  static bool IsKeyword(const TToken& t, std::string_view word) {
    return t.kind == TTokenKind::Ident && SameText(t.text, word);
  }
  static bool IsObjectKeyword(const TToken& t) {
    return IsKeyword(t, "object") || IsKeyword(t, "inherited") || IsKeyword(t, "inline");
  }
  static bool IsSymbol(const TToken& t, char c) { return t.kind == TTokenKind::Symbol && t.text[0] == c; }

  static std::string Found(const TToken& t) {
    switch (t.kind) {
      case TTokenKind::End: return "the end of the text";
      case TTokenKind::Ident: return "\"" + t.text + "\"";
      case TTokenKind::Integer:
      case TTokenKind::Float: return "a number";
      case TTokenKind::String: return "a string";
      case TTokenKind::Binary: return "binary data";
      case TTokenKind::Symbol: return "'" + t.text + "'";
    }
    return "something else";
  }
  static std::string Title(const TObjectNode& o) { return o.name.empty() ? o.className : o.name; }

  void Deeper(int depth, int line) {
    if (depth > kMaxDescriptionDepth)
      lex_.Fail(line, "nested more than " + std::to_string(kMaxDescriptionDepth) + " levels deep");
  }

  std::string Ident(const char* what) {
    const TToken& t = lex_.Peek();
    if (t.kind != TTokenKind::Ident) lex_.Fail(t.line, std::string("expected ") + what + ", found " + Found(t));
    return lex_.Next().text;
  }

  void Expect(char c, const std::string& context) {
    const TToken& t = lex_.Peek();
    if (!IsSymbol(t, c)) lex_.Fail(t.line, std::string("expected '") + c + "' " + context + ", found " + Found(t));
    lex_.Next();
  }

  // A name with dots: Font.Height, Form1.Button1.
  std::string DottedIdent(const char* what) {
    std::string name = Ident(what);
    while (IsSymbol(lex_.Peek(), '.')) {
      lex_.Next();
      name += '.';
      name += Ident("a name after '.'");
    }
    return name;
  }

  TObjectNode Object(int depth) {
    TObjectNode node;
    const TToken keyword = lex_.Next();
    node.line = keyword.line;
    Deeper(depth, node.line);
    node.inherited = IsKeyword(keyword, "inherited");
    std::string first = Ident("a component name or class");
    if (IsSymbol(lex_.Peek(), ':')) {
      lex_.Next();
      node.name = std::move(first);
      node.className = Ident("a class name after ':'");
    } else {
      node.className = std::move(first);
    }
    for (;;) {
      const TToken& t = lex_.Peek();
      if (t.kind == TTokenKind::End)
        lex_.Fail(t.line, "expected \"end\" of " + Title(node) + " (begun on line " + std::to_string(node.line) + ")");
      if (IsKeyword(t, "end")) {
        lex_.Next();
        return node;
      }
      if (IsObjectKeyword(t)) {
        node.children.push_back(Object(depth + 1));
        continue;
      }
      node.properties.push_back(Property(depth));
    }
  }

  TPropertyNode Property(int depth) {
    TPropertyNode p;
    p.line = lex_.Peek().line;
    p.name = DottedIdent("a property name, \"object\" or \"end\"");
    Expect('=', "after \"" + p.name + "\"");
    p.value = Value(depth, "after \"" + p.name + " =\"");
    return p;
  }

  TValue Value(int depth, const std::string& context) {
    TValue v;
    const TToken& t = lex_.Peek();
    v.line = t.line;
    switch (t.kind) {
      case TTokenKind::Integer:
        v.kind = TValueKind::Integer;
        v.integer = t.integer;
        v.hex = t.hex;
        lex_.Next();
        return v;
      case TTokenKind::Float:
        v.kind = TValueKind::Float;
        v.real = t.real;
        lex_.Next();
        return v;
      case TTokenKind::String:
        v.kind = TValueKind::String;
        v.text = lex_.Next().text;
        while (IsSymbol(lex_.Peek(), '+')) {
          lex_.Next();
          if (lex_.Peek().kind != TTokenKind::String)
            lex_.Fail(lex_.Peek().line, "expected a string after '+', found " + Found(lex_.Peek()));
          v.text += lex_.Next().text;
        }
        return v;
      case TTokenKind::Ident:
        v.kind = TValueKind::Ident;
        v.text = DottedIdent("an identifier");
        return v;
      case TTokenKind::Binary:
        v.kind = TValueKind::Binary;
        v.bytes = lex_.Next().bytes;
        return v;
      case TTokenKind::Symbol:
        if (IsSymbol(t, '[')) return Set(v);
        if (IsSymbol(t, '(')) return List(v, depth + 1);
        if (IsSymbol(t, '<')) return Collection(v, depth + 1);
        break;
      case TTokenKind::End:
        break;
    }
    lex_.Fail(t.line, "expected a value " + context + ", found " + Found(t));
  }

  TValue Set(TValue v) {
    v.kind = TValueKind::Set;
    lex_.Next();
    if (IsSymbol(lex_.Peek(), ']')) {
      lex_.Next();
      return v;
    }
    for (;;) {
      v.names.push_back(Ident("a set element"));
      if (IsSymbol(lex_.Peek(), ']')) {
        lex_.Next();
        return v;
      }
      Expect(',', "or ']' in a set");
    }
  }

  TValue List(TValue v, int depth) {
    Deeper(depth, v.line);
    v.kind = TValueKind::List;
    lex_.Next();
    while (!IsSymbol(lex_.Peek(), ')')) v.list.push_back(Value(depth, "in a list"));
    lex_.Next();
    return v;
  }

  TValue Collection(TValue v, int depth) {
    Deeper(depth, v.line);
    v.kind = TValueKind::Collection;
    lex_.Next();
    while (!IsSymbol(lex_.Peek(), '>')) {
      const TToken& t = lex_.Peek();
      if (!IsKeyword(t, "item")) lex_.Fail(t.line, "expected \"item\" or '>' in a collection, found " + Found(t));
      TItemNode item;
      item.line = lex_.Next().line;
      for (;;) {
        const TToken& p = lex_.Peek();
        if (IsKeyword(p, "end")) {
          lex_.Next();
          break;
        }
        if (p.kind == TTokenKind::End)
          lex_.Fail(p.line, "expected \"end\" of the item begun on line " + std::to_string(item.line));
        item.properties.push_back(Property(depth));
      }
      v.items.push_back(std::move(item));
    }
    lex_.Next();
    return v;
  }

  TFormLexer lex_;
};

}  // namespace

TObjectNode ParseFormDescription(std::string_view text, const std::string& label) {
  return Parser(text, label).Description();
}

}  // namespace fw
