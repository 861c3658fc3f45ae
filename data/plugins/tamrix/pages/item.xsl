<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:str="http://exslt.org/strings" xmlns:markup="urn:tamrix:markup"
    exclude-result-prefixes="str markup">
<xsl:output method="html" encoding="UTF-8" doctype-system="about:legacy-compat"/>
<xsl:define name="content_type" value="text/html"/>
<xsl:include href="common.xsl"/>
<!-- One clip as a readable page: its title and where it came from, then the clipped
     content (its stored markup, or its text when it has none). The key is the clip's
     short id or its guid. Stored markup may come from any page or synced entry: it is
     shown in its display form (markup:safe), in which nothing can run a script. -->
<Tarn name="repository" database="Tamrix/tamrix.db">
  <request name="*" method="SQL"
           value="select id, title, url, site, folder, category, tags, substr(datetime(createTime, 'localtime'), 1, 16) as created, substr(datetime(updateTime, 'localtime'), 1, 16) as updated, html, text from entry where id = url_decode(?1) or guid = url_decode(?1) limit 1">
    <bind value="{$request_params}"/>
  </request>
</Tarn>

<xsl:template match="/">
  <xsl:variable name="entry" select="/repository/item"/>
  <xsl:choose>
    <xsl:when test="$entry">
      <xsl:call-template name="layout">
        <xsl:with-param name="title">
          <xsl:for-each select="$entry"><xsl:call-template name="entry-title"/></xsl:for-each>
        </xsl:with-param>
        <xsl:with-param name="body"><xsl:apply-templates select="$entry" mode="page"/></xsl:with-param>
      </xsl:call-template>
    </xsl:when>
    <xsl:otherwise>
      <xsl:call-template name="layout">
        <xsl:with-param name="title">Clip not found</xsl:with-param>
        <xsl:with-param name="body">
          <div class="empty">
            <strong>This clip is not in your repository.</strong>
            It may have been deleted, here or in another window. Your latest clips are
            listed under <a href="tarn://tamrix/latest">Latest clips</a>.
          </div>
        </xsl:with-param>
      </xsl:call-template>
    </xsl:otherwise>
  </xsl:choose>
</xsl:template>

<xsl:template match="item" mode="page">
  <div class="meta">
    <xsl:if test="site != ''">
      <a class="site" href="tarn://tamrix/site?{str:encode-uri(site, true())}"><xsl:value-of select="site"/></a>
    </xsl:if>
    <span class="date">Saved <xsl:value-of select="created"/></span>
    <xsl:if test="updated != created"><span>Changed <xsl:value-of select="updated"/></span></xsl:if>
    <xsl:if test="folder != ''">
      <a class="folder" href="tarn://tamrix/folder?{str:encode-uri(folder, true())}"><xsl:value-of select="folder"/></a>
    </xsl:if>
    <xsl:if test="category != ''">
      <a class="category" href="tarn://tamrix/category?{str:encode-uri(category, true())}"><xsl:value-of select="category"/></a>
    </xsl:if>
    <xsl:if test="starts-with(url, 'http://') or starts-with(url, 'https://')">
      <a class="source" href="{url}">Original page</a>
    </xsl:if>
  </div>
  <xsl:if test="normalize-space(tags) != ''">
    <div class="meta tags"><span><xsl:value-of select="tags"/></span></div>
  </xsl:if>
  <div class="clip">
    <xsl:choose>
      <xsl:when test="normalize-space(html) != ''">
        <xsl:value-of select="markup:safe(html)" disable-output-escaping="yes"/>
      </xsl:when>
      <xsl:when test="normalize-space(text) != ''">
        <pre><xsl:value-of select="text"/></pre>
      </xsl:when>
      <xsl:otherwise><p class="count">This clip has no content.</p></xsl:otherwise>
    </xsl:choose>
  </div>
</xsl:template>
</xsl:stylesheet>
