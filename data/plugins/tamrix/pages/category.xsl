<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:str="http://exslt.org/strings" exclude-result-prefixes="str">
<xsl:output method="html" encoding="UTF-8" doctype-system="about:legacy-compat"/>
<xsl:define name="content_type" value="text/html"/>
<xsl:include href="common.xsl"/>
<!-- A category holds its own clips and those of every category below it ("A/B" is below
     "A"); the sub-categories are listed first. -->
<Tarn name="repository" database="Tamrix/tamrix.db">
  <request name="query" method="SQL" value="select url_decode(?) as key">
    <bind value="{$request_params}"/>
  </request>
  <request name="below" method="SQL"
           value="select category as name, count(*) as n from entry where substr(category, 1, length(url_decode(?1)) + 1) = url_decode(?1) || '/' group by category order by category collate local">
    <bind value="{$request_params}"/>
  </request>
  <request name="*" method="SQL"
           value="select id, title, site, folder, substr(datetime(createTime, 'localtime'), 1, 16) as created from entry where category = url_decode(?1) or substr(category, 1, length(url_decode(?1)) + 1) = url_decode(?1) || '/' order by createTime desc, rowid desc">
    <bind value="{$request_params}"/>
  </request>
</Tarn>

<xsl:template match="/">
  <xsl:variable name="key" select="/repository/query/item/key"/>
  <xsl:call-template name="layout">
    <xsl:with-param name="kind">Category</xsl:with-param>
    <xsl:with-param name="title">
      <xsl:choose>
        <xsl:when test="$key != ''"><xsl:value-of select="$key"/></xsl:when>
        <xsl:otherwise>(no category)</xsl:otherwise>
      </xsl:choose>
    </xsl:with-param>
    <xsl:with-param name="body">
      <xsl:if test="/repository/below/item">
        <ul class="groups">
          <xsl:for-each select="/repository/below/item">
            <li path="@category/{name}">
              <a href="tarn://tamrix/category?{str:encode-uri(name, true())}"><xsl:value-of select="name"/></a>
              <span class="n"><xsl:value-of select="n"/></span>
            </li>
          </xsl:for-each>
        </ul>
      </xsl:if>
      <xsl:if test="/repository/item">
        <xsl:call-template name="count-line">
          <xsl:with-param name="items" select="/repository/item"/>
        </xsl:call-template>
      </xsl:if>
      <xsl:call-template name="entry-list">
        <xsl:with-param name="items" select="/repository/item"/>
        <xsl:with-param name="empty">
          <strong>This category holds no clips.</strong>
          Give a clip this category when you save it, and it is listed here with the clips
          of every category below this one.
        </xsl:with-param>
      </xsl:call-template>
    </xsl:with-param>
  </xsl:call-template>
</xsl:template>
</xsl:stylesheet>
